#include "deliver_events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>

#include "firmware/monitor/state.h"

namespace {

using clock = std::chrono::steady_clock;

bool paced = true;
txm9::time_control panel_time_;
txm9::frame_schedule schedule;
std::function<void()> tick_from_frames;

double now_ms() {
    return std::chrono::duration<double, std::milli>(clock::now().time_since_epoch()).count();
}

// Sleeps in the event loop until the frame is due, handling each event as it arrives. The
// timer wakes the loop at the due panel_time_; the loop goes on after any earlier event.
void wait_until(double due_ms) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (double now = now_ms(); now < due_ms; now = now_ms()) {
        wake.start(static_cast<int>(std::ceil(due_ms - now)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void paced_delivery() {
    const double now = now_ms();
    const double due = schedule.next_due(now, panel_time_.frame_period_ms());
    if (due <= now) {
        QCoreApplication::processEvents();
        return;
    }
    wait_until(due);
}

// Between two frames while paused: the window answers, the firmware waits.
void wait_while_paused() {
    while (panel_time_.frame_waits()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    panel_time_.step_taken();
    schedule.restart(now_ms()); // the schedule starts again from the end of the pause
}

} // namespace

txm9::time_control& panel_time() {
    return panel_time_;
}

void set_frame_pacing(bool on) {
    paced = on;
}
bool frame_pacing() {
    return paced;
}

void restart_frame_schedule() {
    schedule.restart(now_ms());
}

void set_frame_speed(double factor, std::function<void()> frame_tick) {
    panel_time_.set_speed(factor);
    tick_from_frames = std::move(frame_tick);
}
double frame_speed() {
    return panel_time_.speed();
}

void set_frames_paused(bool on) {
    panel_time_.set_paused(on);
}
bool frames_paused() {
    return panel_time_.paused();
}
void step_one_frame() {
    panel_time_.step();
}

void firmware_input(std::function<void()> input) {
    panel_time_.input(std::move(input));
}

void deliver_events() {
    if (panel_time_.frame_delivery() && tick_from_frames) {
        tick_from_frames();
    }
    if (!paced) {
        QCoreApplication::processEvents();
    } else {
        paced_delivery();
    }
    if (panel_time_.paused()) {
        wait_while_paused();
    }
}
