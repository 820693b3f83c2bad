// The instrument in a browser page: a frontend of the front-panel engine whose event delivery
// hands control back to the browser until the next frame is due. The page's clicks, keys,
// slider moves and its Timer1 run while the browser has control, that is between two frames,
// as the window's events run inside its event delivery. Frames are paced by the browser's
// clock, 25 ms apart at x1; the core's time control pauses, steps and speeds them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/front_panel.h"
#include "engine/panel_colours.h"
#include "firmware/lcd/framebuffer.h"

namespace txm9 {

class panel_session;

class web_frontend final : public panel_frontend {
public:
    void show_frame(const frame_report& frame) override;
    void set_lamp(uint32_t colour) override;
    bool calibrate_ticked() override { return calibrate_; }
    bool key_fast_ticked() override { return key_fast_; }
    void tick_calibrate() override;
    void deliver_events() override;

    // The page's check boxes as the user left them.
    void set_boxes(bool calibrate, bool key_fast) {
        calibrate_ = calibrate;
        key_fast_ = key_fast;
    }
    // ON clicked while a run is in progress: a second run starts in the next delivery, inside
    // the first, as on the window.
    void request_nested_on() { ++nested_ons_; }
    // Unpaced, frames follow each other as fast as they run, the browser getting a turn
    // after each: for tests and measurements that must not wait out the real period.
    void set_paced(bool on) { paced_ = on; }
    // A program waits for a request to be done on these frames: they keep their pace even
    // while the display stands still, as for a play.
    void set_watched(bool watched) { watched_ = watched; }
    // The session whose frames this frontend shows: its schedule and pause, its nested runs.
    void attach(panel_session& session) { session_ = &session; }
    // Frames since the page opened.
    uint64_t frames_shown() const { return frames_shown_; }

private:
    // Runs the ONs clicked during the last frame, each a whole nested run.
    void run_nested_ons();
    // Gives control to the browser until `ms` on its clock (at least once, however late).
    void yield_until(double ms);
    // The display has shown the same frame for a while (and no play watches it).
    bool still() const;
    // The schedule started again (after a pause): every frame at its time.
    void schedule_restarted();

    panel_session* session_ = nullptr;
    bool calibrate_ = false;
    bool key_fast_ = false;
    int nested_ons_ = 0;
    bool paced_ = true;
    bool watched_ = false;
    uint64_t frames_shown_ = 0;
    uint8_t shown_[LCD_BUFFER_SIZE] = {}; // the frame on the page
    bool any_shown_ = false;
    uint32_t lamp_ = COLOUR_LAMP_LIT; // pure red until the first pass sets it
    double last_yield_ms_ = 0;
    uint64_t unchanged_frames_ = 0; // frames in a row that showed the frame already shown
    double last_due_ms_ = 0;        // when the frame now running was due
    bool late_on_purpose_ = false;  // the frames of a still display, catching up
};

} // namespace txm9
