// Instrument time for frontends without a real clock (the scenario runner, the soak's walk,
// tests): every frame is followed by 25 ms of instrument time, Timer1's tick falls due every
// 100 ms of it (every fourth splash frame or pass), and events run at chosen instants. Nothing
// sleeps: a minute of instrument time takes as long as its 2400 passes take to compute.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "engine/timing.h"

namespace txm9 {

class virtual_clock {
public:
    // `on_tick` is what Timer1's tick does; the firmware's tick unless a frontend wraps it.
    explicit virtual_clock(std::function<void()> on_tick);

    // Milliseconds of instrument time since program start.
    uint64_t now_ms() const { return now_ms_; }

    // Runs `event` once instrument time reaches `ms` (at once, at the next delivery, if it
    // already has). Events of one instant run in the order they were scheduled, after that
    // instant's tick.
    void at(uint64_t ms, std::function<void()> event);
    // Events still waiting.
    std::size_t pending() const { return events_.size(); }

    // A frame's delivery: time moves on by one frame period, and the ticks and events that
    // fall due meanwhile run in time order.
    void deliver();
    // Time moves on to `ms` (never back), running what falls due: time passing while the
    // instrument is off.
    void advance_to(uint64_t ms);

private:
    std::function<void()> on_tick_;
    uint64_t now_ms_ = 0;
    uint64_t next_tick_ms_ = TICK_MS;
    std::multimap<uint64_t, std::function<void()>> events_;
};

} // namespace txm9
