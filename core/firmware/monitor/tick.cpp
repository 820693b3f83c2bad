#include "firmware/monitor/tick.h"

#include <cstdint>

#include "firmware/monitor/state.h"

void tick() {
    // 11 ticks per phase: a full on-and-off blink lasts 2.2 s.
    const uint8_t old_blink_ticks = blink_ticks;
    blink_ticks = static_cast<uint8_t>(blink_ticks + 1);
    if (old_blink_ticks > 9) {
        blink_ticks = 0;
        blink_phase = blink_phase == 0 ? 1 : 0;
    }

    const uint8_t old_step_ticks = step_ticks;
    step_ticks = static_cast<uint8_t>(step_ticks + 1);
    if (old_step_ticks < TICKS_PER_STEP - 1) {
        return;
    }
    step_ticks = 0;

    // A 2-second step. The countdown rests at 0; the main loop acts on it.
    if (idle_countdown > 0) {
        --idle_countdown;
    }

    if (display_mode == 0 || auto_cycle != 1) {
        return;
    }
    // The display-time table counts in 2-second steps here, so a page stands for twice the
    // seconds the setup screen shows. "At least" lets a lowered setting take effect at once.
    cycle_steps = static_cast<uint8_t>(cycle_steps + 1);
    if (cycle_steps >= cycle_times[cycle_time_index]) {
        amps_page = static_cast<uint8_t>(amps_page + 1);
        if (amps_page > 1) {
            amps_page = 0;
        }
        cycle_steps = 0;
    }
}
