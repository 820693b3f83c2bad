// Time control for an interactive frontend (the window, the page): the instrument slower or
// faster than life, paused between two frames, or stepped one frame at a time. The frontend
// only waits and delivers; what a frame may do and when the next one is due is decided here.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace txm9 {

class time_control {
public:
    // The speeds offered: a quarter, life, four and sixteen times.
    static constexpr double SPEEDS[] = {0.25, 1.0, 4.0, 16.0};

    // Back to life speed, unpaused, as every ON starts; kept inputs are applied.
    void reset();

    void set_speed(double speed);
    double speed() const { return speed_; }
    // Real milliseconds between two frames at this speed.
    double frame_period_ms() const;
    // Real milliseconds between two ticks of the frontend's own timer at this speed, for the
    // tick while the instrument is off.
    double tick_period_ms() const;

    // Paused, frames wait between two passes; inputs for the firmware wait too and reach it
    // at the start of the event delivery after the next frame. Unpausing applies them at once.
    void set_paused(bool paused);
    bool paused() const { return paused_; }
    // While paused: let exactly one more frame run.
    void step() { step_wanted_ = true; }
    // Whether the frame just shown must wait before the next one (paused, no step asked for).
    bool holding() const { return paused_ && !step_wanted_; }
    // The frame just shown was a splash frame or a pass.
    void frame_shown(bool splash) { splash_ = splash; }
    // Whether the frame just shown waits now: holding, unless an OFF is due to end the run.
    // A splash frame waits even then, for the splash does not look at OFF (the splash of a
    // run started while an OFF was pending included).
    bool frame_waits() const;
    // The step asked for is under way: the next frame waits again.
    void step_taken() { step_wanted_ = false; }

    // An input that changes the firmware's variables (a key, a slider count): applied now,
    // or, while paused, kept for the event delivery after the next frame.
    void input(std::function<void()> apply);

    // At the start of each frame's event delivery: applies the inputs kept back, and returns
    // true when this frame brings the tick (every fourth frame, at any speed but life's and
    // while paused; at life speed the frontend's own timer ticks).
    bool frame_delivery();
    // Whether the frames bring the tick now, rather than the frontend's timer.
    bool frames_bring_tick() const { return speed_ != 1.0 || paused_; }

private:
    void apply_kept();

    double speed_ = 1.0;
    bool paused_ = false;
    bool step_wanted_ = false;
    bool splash_ = false;
    uint64_t frames_since_tick_ = 0;
    std::vector<std::function<void()>> kept_;
};

// The fixed schedule of frames in real time: each frame is due one period after the one
// before, so the rate does not drift; a frame already late is due at once, and a schedule
// more than a period behind starts again from now rather than rushing to catch up.
class frame_schedule {
public:
    // The schedule starts afresh: the next frame is due one period after `now_ms`.
    void restart(double now_ms) { last_due_ms_ = now_ms; }
    // When the next frame is due, given the time now; moves the schedule on to it.
    double next_due(double now_ms, double period_ms);

private:
    double last_due_ms_ = 0;
};

} // namespace txm9
