#include "web_frontend.h"

#include <emscripten.h>

#include <cmath>
#include <cstring>

#include "engine/panel_colours.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"
#include "lcd_rgba.h"

namespace txm9 {

namespace {

// The page's side: page.js fills in Module.page before the first ON.
EM_JS(void, page_show_frame, (const uint8_t* rgba, int width, int height),
      { Module.page.showFrame(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height); });
EM_JS(void, page_set_lamp, (int lit), { Module.page.setLamp(lit != 0); });
EM_JS(void, page_tick_calibrate, (), { Module.page.tickCalibrate(); });
// While the page shows a message box the instrument waits, as behind the window's.
EM_JS(int, page_modal, (), { return Module.page.modal() ? 1 : 0; });
EM_JS(void, page_fault, (const char* message), { Module.page.fault(UTF8ToString(message)); });

// How often a paused instrument, or one behind a message box, looks whether it may go on.
constexpr unsigned PAUSED_POLL_MS = 10;
// Browsers wait no less than about 4 ms for a timer. Frames due sooner than that (at x16 a
// frame is due every 1.6 ms; a late instrument's at once) run one after another without
// waiting, and the browser gets a turn at least this often, so that the page answers and
// shows what they draw.
constexpr double SHORTEST_WAIT_MS = 4.0;
constexpr double LONGEST_WITHOUT_YIELD_MS = 16.0;

} // namespace

void web_frontend::show_frame(const frame_report& frame) {
    time_.frame_shown(frame.phase == panel_phase::splash);
    ++frames_shown_;
    session_.frame_shown();
    if (watcher_ != nullptr) {
        watcher_->shown(frame);
    }
    // Most passes draw the frame already shown; the page repaints only a new one.
    if (any_shown_ && std::memcmp(shown_, lcd_buffer, LCD_BUFFER_SIZE) == 0) {
        return;
    }
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

void web_frontend::program_start() {
    set_boxes(false, false);
    set_lamp(COLOUR_LAMP_LIT);
}

bool web_frontend::lamp_lit() const {
    return lamp_ == COLOUR_LAMP_LIT;
}

void web_frontend::deliver_events() {
    // Away from life speed, and for steps, the frames bring the tick; at x1 the page's Timer1;
    // during a play, the play's clock.
    if (time_.frame_delivery() && watcher_ == nullptr) {
        tick();
    }
    if (!paced_) {
        emscripten_sleep(0);
    } else {
        const double now = emscripten_get_now();
        yield_until(schedule_.next_due(now, time_.frame_period_ms()));
    }
    if (time_.holding()) {
        wait_while_paused();
    }
    run_nested_ons();
    if (watcher_ != nullptr) {
        watcher_->delivered();
    }
}

void web_frontend::restart_schedule() {
    schedule_.restart(emscripten_get_now());
}

void web_frontend::yield_until(double due_ms) {
    const double now = emscripten_get_now();
    if (due_ms - now < SHORTEST_WAIT_MS && now - last_yield_ms_ < LONGEST_WITHOUT_YIELD_MS) {
        return;
    }
    emscripten_sleep(due_ms > now ? static_cast<unsigned>(std::ceil(due_ms - now)) : 0);
    while (page_modal() != 0) {
        emscripten_sleep(PAUSED_POLL_MS);
    }
    last_yield_ms_ = emscripten_get_now();
}

void web_frontend::wait_while_paused() {
    while (time_.frame_waits()) {
        emscripten_sleep(PAUSED_POLL_MS);
    }
    time_.step_taken();
    restart_schedule(); // the schedule starts again from the end of the pause
}

void web_frontend::run_nested_ons() {
    while (nested_ons_ > 0 && engine_ != nullptr) {
        --nested_ons_;
        const run_end end = engine_->power_on();
        if (end.faulted) {
            page_fault(end.fault.c_str());
        }
    }
}

} // namespace txm9
