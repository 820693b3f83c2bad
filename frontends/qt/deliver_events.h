// Event delivery between two passes of the main loop or two splash frames: the only place,
// while the instrument is on, where clicks, slider moves, ticks, repaints and requests to
// close are handled, on the window's real clock. What time control decides (a slower or faster
// instrument, a pause between two passes, a single step) is the panel session's; this only
// waits.
#pragma once

namespace txm9 {
class panel_session;
}

// The window's real clock, in milliseconds.
double window_clock_ms();

// Delivers events until the session's next frame is due, then returns. A frame that is
// already late gets the pending events only and follows at once. While paused it returns only
// for a step, for OFF, or once resumed. Unpaced, it only hands over what is pending and
// returns at once, so that tests run many passes quickly.
void deliver_window_events(txm9::panel_session& session, bool paced);
