// What the front panel's controls do, once for every interactive frontend (the window, the
// page, a play on either): a key is written down for the session with whether the slot was
// free, then handed to the key handler; a slider count and a box likewise; ON and OFF; what
// waits while the instrument is paused; whether a run goes on after an input; the tick of the
// desktop's Timer1 against the frames' own; program start; and handing the instrument's time
// to a scenario playing on the panel and back. The frontend maps its widgets, its clock and
// its pictures, and decides nothing about the instrument.
//
// The session is the engine's frontend: it passes the frames, the lamp and the boxes on to the
// frontend's, and brings a frame's tick and the inputs kept in a pause before the frontend
// delivers its events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "engine/front_panel.h"
#include "engine/time_control.h"
#include "engine/virtual_clock.h"
#include "scenario/session_recorder.h"

namespace txm9 {

// A scenario playing on the panel: it sees every frame while it keeps the instrument's time.
class play_frames {
public:
    virtual ~play_frames() = default;
    virtual void shown(const frame_report& frame) = 0;
    // After the frame's events, nested ONs included, have been delivered.
    virtual void delivered() = 0;
};

class panel_session final : private panel_frontend {
public:
    // `frontend` shows the frames, lights the lamp, reads and ticks its boxes and hands its
    // events over until the next frame is due (asking next_frame_due and frame_held);
    // `real_ms` is its clock, in milliseconds from any origin.
    panel_session(panel_frontend& frontend, std::function<double()> real_ms);
    ~panel_session() override;
    panel_session(const panel_session&) = delete;
    panel_session& operator=(const panel_session&) = delete;

    front_panel& engine() { return engine_; }
    const front_panel& engine() const { return engine_; }
    time_control& time() { return time_; }
    const time_control& time() const { return time_; }
    // Every input since the program started, for saving the session as a scenario.
    session_recorder& recorder() { return recorder_; }
    const session_recorder& recorder() const { return recorder_; }

    // A run is in progress.
    bool running() const { return engine_.depth() > 0; }
    // A run is in progress and goes on after an input now: an OFF in the main loop ends the run
    // before its next pass; one in the splash is forgotten.
    bool run_goes_on() const;
    // Real milliseconds since the session began, for inputs while the instrument is off.
    uint64_t ms_since_start() const;
    // The session goes on from one that another program began `ms` ago (a rebuilt firmware
    // taking over): inputs are recorded from that time on.
    void continue_from(uint64_t ms);
    // The alarm lamp as last lit: pure red until the first pass sets it.
    bool lamp_lit() const { return lamp_lit_; }

    // Program start: the instrument off, every variable zero, the frame buffer blank, the lamp
    // lit. The frontend puts its own controls back.
    void program_start();

    // The controls. A key (KEY_SELECT .. KEY_RIGHT) reaches the slot as the key handler has
    // it, a count (0..4096) the converter's input; while paused both wait for the event
    // delivery after the next frame.
    void key(uint8_t code);
    void volts(uint32_t count);
    void amps(uint32_t count);
    // The boxes as the person left them; the frontend keeps their state.
    void calibrate_box(bool ticked);
    void key_fast_box(bool ticked);
    // ON: time back to life speed and unpaused (the inputs kept in a pause reach the firmware
    // first) unless a play keeps the time, then the whole run, inside the one in progress if
    // any. Returns how it ended.
    run_end power_on() {
        on_pressed();
        return run();
    }
    // ON in its two halves, for a frontend that shows the time control between them (the
    // window) or starts a run inside another only at the next frame (the page, whose clicks
    // come while a run waits for the browser): ON written down and time control back to life
    // speed; then the run, a fault of the firmware's or an error of the frontend's ending it.
    void on_pressed();
    run_end run();
    // How the latest run that ended, ended.
    const run_end& last_run() const { return last_run_; }
    void power_off();

    // Timer1, the desktop clock's tick every 100 ms of real time at life speed: the
    // firmware's tick, but while the frames bring it (away from life speed or paused, a run in
    // progress) and while a play keeps the time.
    void timer_tick();
    // Whether the frontend's Timer1 runs now; it ticks every time().tick_period_ms().
    bool timer_runs() const;

    // For the frontend's event delivery: when the next frame is due on its clock (its fixed
    // schedule at the speed chosen, at once when late); whether a paused frame must still
    // wait (no step asked for, no OFF); and that the wait is over (the schedule starts afresh).
    double next_frame_due();
    // The same as if it were `now_ms` on the frontend's clock: a frontend that lets a still
    // display's frames run late on purpose asks as of when the last one was due, so that the
    // schedule runs them all rather than dropping them.
    double next_frame_due(double now_ms);
    bool frame_held() const;
    void pause_over();

    // A scenario playing on the panel keeps the instrument's time from now on, and sees every
    // frame: neither Timer1 nor the frames tick, its own clock does. Null: the desktop's
    // clock keeps the time again.
    void hand_time_to(play_frames* play);
    bool play_keeps_time() const { return play_ != nullptr; }
    // A play's instrument time from its program start: 25 ms a frame, the firmware's tick
    // every 100 ms of it and of the time it waits while the instrument is off.
    virtual_clock& restart_play_clock();
    virtual_clock& play_clock() { return *play_clock_; }
    const virtual_clock& play_clock() const { return *play_clock_; }

private:
    // panel_frontend, for the engine.
    void show_frame(const frame_report& frame) override;
    void set_lamp(uint32_t colour) override;
    bool calibrate_ticked() override;
    bool key_fast_ticked() override;
    void tick_calibrate() override;
    void deliver_events() override;

    panel_frontend& frontend_;
    std::function<double()> real_ms_;
    double start_ms_;
    front_panel engine_{*this};
    time_control time_;
    frame_schedule schedule_;
    session_recorder recorder_;
    bool lamp_lit_ = true;
    play_frames* play_ = nullptr;
    std::unique_ptr<virtual_clock> play_clock_;
    run_end last_run_;
};

} // namespace txm9
