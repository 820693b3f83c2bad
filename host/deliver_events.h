// Event delivery between two passes of the main loop or two splash frames: the only place,
// while the instrument is on, where clicks, slider moves, ticks, repaints and requests to
// close are handled.
#pragma once

#include <chrono>

// The instrument shows a new frame every 25 ms: 80 splash frames last 2 s, and the main loop
// leaves the processor idle between passes instead of spinning.
inline constexpr std::chrono::milliseconds FRAME_PERIOD{25};

// Delivers events until the next frame is due, then returns. Frames fall due on a fixed
// schedule (each one period after the one before), so the rate does not drift; a frame that
// is already late gets the pending events only and follows at once, and a schedule more than
// a period behind starts again from now rather than rushing to catch up.
void deliver_events();

// Starts the frame schedule afresh: the next frame is due one period from now.
void restart_frame_schedule();

// Paced (the default) or not: unpaced, deliver_events only hands over what is pending and
// returns at once, so that tests run many passes quickly.
void set_frame_pacing(bool paced);
bool frame_pacing();
