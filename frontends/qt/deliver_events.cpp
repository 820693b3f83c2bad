#include "deliver_events.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <vector>

#include "firmware/monitor/state.h"


namespace {

using clock = std::chrono::steady_clock;

bool paced = true;
clock::time_point last_due = clock::now();
double speed = 1.0;
std::function<void()> tick_from_frames;
unsigned frames_since_tick = 0;
bool paused = false;
bool step_wanted = false;
std::vector<std::function<void()>> kept_inputs;

clock::duration period() {
    return std::chrono::duration_cast<clock::duration>(FRAME_PERIOD / speed);
}

// Sleeps in the event loop until the frame is due, handling each event as it arrives. The
// timer wakes the loop at the due time; the loop goes on after any earlier event.
void wait_until(clock::time_point due) {
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (clock::time_point now = clock::now(); now < due; now = clock::now()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - now);
        wake.start(left);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void paced_delivery() {
    const clock::time_point due = last_due + period();
    last_due = due;
    const clock::time_point now = clock::now();
    if (now >= due) {
        QCoreApplication::processEvents();
        if (now - due > period()) {
            last_due = now;
        }
        return;
    }
    wait_until(due);
}

// Between two frames while paused: the window answers, the firmware waits.
void wait_while_paused() {
    while (paused && !step_wanted && power_off_request == 0) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    step_wanted = false;
    last_due = clock::now(); // the schedule starts again from the end of the pause
}

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

void set_frame_speed(double factor, std::function<void()> frame_tick) {
    speed = factor;
    tick_from_frames = std::move(frame_tick);
    frames_since_tick = 0;
}
double frame_speed() {
    return speed;
}

void set_frames_paused(bool on) {
    paused = on;
    step_wanted = false;
    if (!on) {
        apply_kept_inputs();
    }
}
bool frames_paused() {
    return paused;
}
void step_one_frame() {
    step_wanted = true;
}

void firmware_input(std::function<void()> input) {
    if (paused) {
        kept_inputs.push_back(std::move(input));
    } else {
        input();
    }
}

void apply_kept_inputs() {
    if (kept_inputs.empty()) {
        return; // every frame but the one after a pause
    }
    std::vector<std::function<void()>> inputs;
    inputs.swap(kept_inputs);
    for (const auto& input : inputs) {
        input();
    }
}

void deliver_events() {
    // What was clicked during a pause reaches the firmware after the pass that ended it.
    apply_kept_inputs();
    // At any speed but the window's own, and for steps, the tick comes from the frames.
    if (tick_from_frames && (speed != 1.0 || paused) && ++frames_since_tick == 4) {
        frames_since_tick = 0;
        tick_from_frames();
    }
    if (!paced) {
        QCoreApplication::processEvents();
    } else {
        paced_delivery();
    }
    if (paused) {
        wait_while_paused();
    }
}
