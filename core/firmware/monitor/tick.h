// The instrument's 100 ms time base. All timing of the firmware is counted in these ticks:
// the blink phase, the 2-second step, the inactivity countdown and the automatic page
// alternation of the main display. Nothing reads a clock.
#pragma once

#include <cstdint>

// Ticks in the firmware's 2-second step, the unit of the inactivity countdown and of the
// automatic page alternation.
inline constexpr uint8_t TICKS_PER_STEP = 20;

// One tick of 100 ms: flips `blink_phase` every 11th tick, and on every 20th tick (a 2-second
// step) counts `idle_countdown` down to 0 and, with automatic cycling on in display mode 1 or
// 2, alternates `amps_page` once `cycle_steps` reaches the display-time entry.
void tick();
