// Event delivery between two passes of the main loop or two splash frames: the only place,
// while the instrument is on, where clicks, slider moves, ticks, repaints and requests to
// close are handled, on the window's real clock. What time control decides (a slower or faster
// instrument, a pause between two passes, a single step) is the engine's; this only waits.
#pragma once

#include <functional>

#include "engine/time_control.h"

// The window's time control, for the inspector.
txm9::time_control& panel_time();

// Delivers events until the next frame is due, then returns. Frames fall due on a fixed
// schedule (each one period after the one before), so the rate does not drift; a frame that
// is already late gets the pending events only and follows at once, and a schedule more than
// a period behind starts again from now rather than rushing to catch up. While paused it
// returns only for a step, for OFF, or once resumed.
void deliver_events();

// Starts the frame schedule afresh: the next frame is due one period from now.
void restart_frame_schedule();

// Paced (the default) or not: unpaced, deliver_events only hands over what is pending and
// returns at once, so that tests run many passes quickly.
void set_frame_pacing(bool paced);
bool frame_pacing();

// The instrument's speed: frames come `speed` times as often (0.25, 1, 4 or 16). At any speed
// but 1, and for steps while paused, the frames bring the tick, `frame_tick` on every fourth,
// in place of the window's timer.
void set_frame_speed(double speed, std::function<void()> frame_tick);
double frame_speed();

// Paused, frames wait inside deliver_events; inputs meant for the firmware wait too (see
// firmware_input) and reach it in the event delivery after the next pass.
void set_frames_paused(bool paused);
bool frames_paused();
// While paused: let exactly one more frame run.
void step_one_frame();

// An input that changes the firmware's variables (a key, a slider count): applied now, or,
// while paused, kept until the event delivery after the next pass.
void firmware_input(std::function<void()> input);
