// The front panel's running order, once for every frontend: ON with the power-on reset, the
// start-up splash frame by frame, the main loop's passes until OFF. A frontend (the window,
// the scenario runner, the soak's walk, the benchmark) supplies only what it alone can do:
// show a frame, light the lamp, read and tick its two check boxes, and deliver its events
// until the next frame is due, on its own clock. Events reach the firmware only there,
// between two frames; an ON delivered there runs a whole second run inside the first.
#pragma once

#include <cstdint>
#include <string>

#include "firmware/monitor/state.h"

namespace txm9 {

enum class panel_phase : uint8_t { off, splash, running };

// What a finished frame is.
struct frame_report {
    panel_phase phase = panel_phase::off; // splash frame or main-loop pass
    screen_routine screen = nullptr;      // the screen a pass drew; none for the splash
    bool inactivity_return = false;       // the pass went home after a minute without keys
};

class panel_frontend {
public:
    virtual ~panel_frontend() = default;
    // lcd_buffer holds a finished frame: show it whole.
    virtual void show_frame(const frame_report& frame) = 0;
    // The alarm lamp's fill, COLOUR_LAMP_LIT or COLOUR_LAMP_UNLIT, set on every pass.
    virtual void set_lamp(uint32_t colour) = 0;
    // The Calibrate and KeyFast check boxes, read once per pass just after the measurement.
    virtual bool calibrate_ticked() = 0;
    virtual bool key_fast_ticked() = 0;
    // A knob press during the splash ticks the Calibrate box.
    virtual void tick_calibrate() = 0;
    // Handles the events that have come since the last frame and those that come until the
    // next frame is due, then returns. May call power_on (a nested run) and power_off.
    virtual void deliver_events() = 0;
};

// How a powered-on run ended: by OFF, or by the firmware's fault with its message.
struct run_end {
    bool faulted = false;
    std::string fault;
};

class front_panel {
public:
    explicit front_panel(panel_frontend& frontend) : frontend_(frontend) {}

    // ON: the whole powered-on life of the instrument; returns once OFF (or a fault) ends it.
    run_end power_on();
    // OFF: the running loop stops before its next pass; both loops stop after a nested ON.
    void power_off();

    // The 80-frame start-up splash; a knob press during it unlocks calibration.
    void play_splash();
    // One pass of the main loop: measure, sample the boxes, inactivity return, outputs and
    // lamp, draw the active screen, show the frame, deliver events.
    void main_loop_pass();

    // Off, splash or running, as seen by the innermost run.
    panel_phase phase() const { return phase_; }
    // Runs in progress: 0 while off, 2 after an ON inside a run.
    int depth() const { return depth_; }
    // Main-loop passes since the latest ON.
    uint64_t passes_since_on() const { return passes_since_on_; }
    // Splash frames and passes since the latest ON: 25 ms of instrument time each.
    uint64_t frames_since_on() const { return frames_since_on_; }

private:
    // The power-on reset, the splash and the passes until OFF.
    void run_until_off();

    panel_frontend& frontend_;
    panel_phase phase_ = panel_phase::off;
    int depth_ = 0;
    uint64_t passes_since_on_ = 0;
    uint64_t frames_since_on_ = 0;
};

} // namespace txm9
