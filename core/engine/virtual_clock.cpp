#include "engine/virtual_clock.h"

#include <utility>

namespace txm9 {

virtual_clock::virtual_clock(std::function<void()> on_tick) : on_tick_(std::move(on_tick)) {}

void virtual_clock::at(uint64_t ms, std::function<void()> event) {
    events_.emplace(ms, std::move(event));
}

void virtual_clock::deliver() {
    advance_to(now_ms_ + FRAME_MS);
}

void virtual_clock::advance_to(uint64_t ms) {
    if (ms > now_ms_) {
        now_ms_ = ms;
    }
    // An event may run a whole nested run, whose own deliveries move the time on and run
    // what falls due meanwhile; so everything is looked at afresh after each one.
    for (;;) {
        const bool tick_due = next_tick_ms_ <= now_ms_;
        const auto event = events_.begin();
        const bool event_due = event != events_.end() && event->first <= now_ms_;
        if (tick_due && (!event_due || next_tick_ms_ <= event->first)) {
            next_tick_ms_ += TICK_MS;
            on_tick_();
        } else if (event_due) {
            std::function<void()> run = std::move(event->second);
            events_.erase(event);
            run();
        } else {
            return;
        }
    }
}

} // namespace txm9
