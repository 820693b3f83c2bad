#include "deliver_events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

namespace {

using clock = std::chrono::steady_clock;

bool paced = true;
clock::time_point last_due = clock::now();

} // namespace

void set_frame_pacing(bool on) {
    paced = on;
}
bool frame_pacing() {
    return paced;
}

void restart_frame_schedule() {
    last_due = clock::now();
}

void deliver_events() {
    if (!paced) {
        QCoreApplication::processEvents();
        return;
    }
    const clock::time_point due = last_due + FRAME_PERIOD;
    last_due = due;
    clock::time_point now = clock::now();
    if (now >= due) {
        QCoreApplication::processEvents();
        if (now - due > FRAME_PERIOD) {
            last_due = now;
        }
        return;
    }
    // Sleep in the event loop until the frame is due, handling each event as it arrives. The
    // timer wakes the loop at the due time; the loop goes on after any earlier event.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (now < due) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - now);
        wake.start(left);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        now = clock::now();
    }
}
