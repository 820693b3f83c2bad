#include "web_frontend.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/panel_colours.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/state.h"
#include "lcd_rgba.h"
#include "panel/panel_session.h"

namespace txm9 {

namespace {

// The page's side: page.js fills in Module.page before the first ON. The bodies are
// JavaScript, which the C++ formatter would break ("!==").
// clang-format off
EM_JS(void, page_show_frame, (const uint8_t* rgba, int width, int height),
      { Module.page.showFrame(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height); });
EM_JS(void, page_set_lamp, (int lit), { Module.page.setLamp(lit !== 0); });
EM_JS(void, page_tick_calibrate, (), { Module.page.tickCalibrate(); });
// While the page shows a message box the instrument waits, as behind the window's.
EM_JS(int, page_modal, (), { return Module.page.modal() ? 1 : 0; });
EM_JS(void, page_fault, (const char* message), { Module.page.fault(UTF8ToString(message)); });
// Gives the browser control for `ms` (to the page's inputs and its Timer1), or, if
// `wakeable`, until the page calls Module.wake() for a person's input: 1 when woken early.
// The page is told each time, before the frame runs.
EM_ASYNC_JS(int, page_wait, (double ms, int wakeable), {
    const woken = await new Promise((resolve) => {
        const timer = setTimeout(() => resolve(0), ms);
        Module.wake = wakeable ? () => { clearTimeout(timer); resolve(1); } : () => {};
    });
    Module.wake = () => {};
    if (Module.page.betweenFrames) Module.page.betweenFrames();
    return woken;
});
// clang-format on

// How often a paused instrument, or one behind a message box, looks whether it may go on.
constexpr unsigned PAUSED_POLL_MS = 10;
// Browsers wait no less than about 4 ms for a timer. Frames due sooner than that (at x16 a
// frame is due every 1.6 ms; a late instrument's at once) run one after another without
// waiting, and the browser gets a turn at least this often, so that the page answers and
// shows what they draw.
constexpr double SHORTEST_WAIT_MS = 4.0;
constexpr double LONGEST_WITHOUT_YIELD_MS = 16.0;
// A display that has not changed for this many frames stands still: its frames then wait to
// run together, up to STILL_WAKE_MS late, so that the browser wakes four times a second
// instead of forty (each wake-up costs it more than the passes it runs). Nobody can see a
// still display late; a person's input wakes it at once and the frames catch up, and a changed
// frame brings back a wake-up for every frame.
constexpr uint64_t STILL_AFTER_FRAMES = 2;
constexpr double STILL_WAKE_MS = 250.0;

} // namespace

void web_frontend::show_frame(const frame_report&) {
    ++frames_shown_;
    // Most passes draw the frame already shown; the page repaints only a new one.
    if (any_shown_ && std::memcmp(shown_, lcd_buffer, LCD_BUFFER_SIZE) == 0) {
        ++unchanged_frames_;
        return;
    }
    unchanged_frames_ = 0;
    std::memcpy(shown_, lcd_buffer, LCD_BUFFER_SIZE);
    any_shown_ = true;
    const std::vector<uint8_t> rgba = lcd_rgba(1);
    page_show_frame(rgba.data(), LCD_WIDTH, LCD_HEIGHT);
}

void web_frontend::set_lamp(uint32_t colour) {
    if (colour != lamp_) {
        lamp_ = colour;
        page_set_lamp(colour == COLOUR_LAMP_LIT);
    }
}

void web_frontend::tick_calibrate() {
    calibrate_ = true;
    page_tick_calibrate();
}

void web_frontend::deliver_events() {
    if (!paced_) {
        emscripten_sleep(0);
    } else {
        // A still display's frames are late on purpose: the schedule must not drop them, and
        // they catch up even once the display has changed.
        const double now = emscripten_get_now();
        const bool held_back = still() || late_on_purpose_;
        last_due_ms_ = session_->next_frame_due(held_back ? std::min(now, last_due_ms_) : now);
        late_on_purpose_ = held_back && last_due_ms_ < now;
        yield_until(last_due_ms_);
    }
    // Between two frames while paused: the page answers, the firmware waits.
    if (session_->time().paused()) {
        while (session_->frame_held()) {
            emscripten_sleep(PAUSED_POLL_MS);
        }
        session_->pause_over();
        schedule_restarted();
    }
    run_nested_ons();
}

void web_frontend::yield_until(double due_ms) {
    const double now = emscripten_get_now();
    if (due_ms - now < SHORTEST_WAIT_MS && now - last_yield_ms_ < LONGEST_WITHOUT_YIELD_MS) {
        return;
    }
    const bool waits_long = still();
    const double until =
        waits_long ? due_ms + std::max(0.0, STILL_WAKE_MS - session_->time().frame_period_ms())
                   : due_ms;
    if (page_wait(std::max(0.0, std::ceil(until - now)), waits_long ? 1 : 0) != 0) {
        unchanged_frames_ = 0; // an input: the frames due run now, the next ones at their time
    }
    late_on_purpose_ = late_on_purpose_ || waits_long;
    while (page_modal() != 0) {
        emscripten_sleep(PAUSED_POLL_MS);
    }
    last_yield_ms_ = emscripten_get_now();
}

bool web_frontend::still() const {
    // A play keeps its own time and is watched, and so is a program's request under way:
    // their frames keep their pace.
    return unchanged_frames_ >= STILL_AFTER_FRAMES && !session_->play_keeps_time() && !watched_;
}

void web_frontend::schedule_restarted() {
    last_due_ms_ = emscripten_get_now();
    unchanged_frames_ = 0;
    late_on_purpose_ = false;
}

void web_frontend::run_nested_ons() {
    while (nested_ons_ > 0 && session_ != nullptr) {
        --nested_ons_;
        const run_end end = session_->run();
        if (end.faulted) {
            page_fault(end.fault.c_str());
        }
    }
}

} // namespace txm9
