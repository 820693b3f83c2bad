#include "engine/time_control.h"

#include <utility>

#include "engine/timing.h"
#include "firmware/monitor/state.h"

namespace txm9 {

void time_control::reset() {
    speed_ = 1.0;
    set_paused(false);
    frames_since_tick_ = 0;
}

void time_control::set_speed(double speed) {
    speed_ = speed;
    frames_since_tick_ = 0;
}

double time_control::frame_period_ms() const {
    return static_cast<double>(FRAME_MS) / speed_;
}

double time_control::tick_period_ms() const {
    return static_cast<double>(TICK_MS) / speed_;
}

void time_control::set_paused(bool paused) {
    paused_ = paused;
    step_wanted_ = false;
    if (!paused) {
        apply_kept();
    }
}

bool time_control::frame_waits() const {
    return holding() && (splash_ || power_off_request == 0);
}

void time_control::input(std::function<void()> apply) {
    if (paused_) {
        kept_.push_back(std::move(apply));
    } else {
        apply();
    }
}

void time_control::apply_kept() {
    if (kept_.empty()) {
        return; // every frame but the one after a pause
    }
    std::vector<std::function<void()>> inputs;
    inputs.swap(kept_);
    for (const auto& apply : inputs) {
        apply();
    }
}

bool time_control::frame_delivery() {
    // What was done during a pause reaches the firmware after the pass that ended it.
    apply_kept();
    if (!frames_bring_tick() || ++frames_since_tick_ < FRAMES_PER_TICK) {
        return false;
    }
    frames_since_tick_ = 0;
    return true;
}

double frame_schedule::next_due(double now_ms, double period_ms) {
    const double due = last_due_ms_ + period_ms;
    last_due_ms_ = due;
    if (now_ms >= due) {
        if (now_ms - due > period_ms) {
            last_due_ms_ = now_ms;
        }
        return now_ms;
    }
    return due;
}

} // namespace txm9
