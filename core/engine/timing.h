// The front panel's time, in one place for every frontend. The instrument shows a splash frame
// or runs a pass every 25 ms and Timer1 ticks every 100 ms, so every fourth frame brings a tick
// wherever the frames themselves keep time (the runner, the soak, a paused or sped-up window).
// The firmware counts its own time in those ticks: the splash in frames, the inactivity return
// and the page alternation in 2-second steps of 20 ticks.
#pragma once

#include <cstdint>

#include "firmware/monitor/splash.h"
#include "firmware/monitor/tick.h"

namespace txm9 {

inline constexpr uint64_t FRAME_MS = 25;                        // one splash frame or pass
inline constexpr uint64_t TICK_MS = 100;                        // one tick of Timer1
inline constexpr uint64_t FRAMES_PER_TICK = TICK_MS / FRAME_MS; // 4
inline constexpr uint64_t SPLASH_MS = SPLASH_FRAMES * FRAME_MS; // 2 s of start-up splash
inline constexpr uint64_t STEP_MS = TICKS_PER_STEP * TICK_MS;   // the firmware's 2-second step

} // namespace txm9
