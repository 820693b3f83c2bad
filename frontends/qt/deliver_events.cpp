#include "deliver_events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cmath>

#include "panel/panel_session.h"

namespace {

// Sleeps in the event loop until the frame is due, handling each event as it arrives. The
// timer wakes the loop at the due time; the loop goes on after any earlier event.
void wait_until(double due_ms) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (double now = window_clock_ms(); now < due_ms; now = window_clock_ms()) {
        wake.start(static_cast<int>(std::ceil(due_ms - now)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

} // namespace

double window_clock_ms() {
    using clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::milli>(clock::now().time_since_epoch()).count();
}

void deliver_window_events(txm9::panel_session& session, bool paced) {
    if (!paced) {
        QCoreApplication::processEvents();
    } else {
        const double now = window_clock_ms();
        const double due = session.next_frame_due();
        if (due <= now) {
            QCoreApplication::processEvents();
        } else {
            wait_until(due);
        }
    }
    // Between two frames while paused: the window answers, the firmware waits.
    if (session.time().paused()) {
        while (session.frame_held()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        session.pause_over();
    }
}
