#include "web_frontend.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/panel_colours.h"
#include "firmware/lcd/framebuffer.h"
#include "lcd_rgba.h"

namespace txm9 {

namespace {

// The page's side: page.js fills in Module.page before the first ON.
EM_JS(void, page_show_frame, (const uint8_t* rgba, int width, int height), {
    Module.page.showFrame(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height);
});
EM_JS(void, page_set_lamp, (int lit), { Module.page.setLamp(lit !== 0); });
EM_JS(void, page_tick_calibrate, (), { Module.page.tickCalibrate(); });
// While the page shows a message box the instrument waits, as behind the window's.
EM_JS(int, page_modal, (), { return Module.page.modal() ? 1 : 0; });
EM_JS(void, page_fault, (const char* message), { Module.page.fault(UTF8ToString(message)); });

constexpr double FRAME_MS = 25.0;
// A late instrument runs frame after frame without waiting; it still gives the browser a
// turn this often, so that the page answers and shows what it draws.
constexpr double LONGEST_WITHOUT_YIELD_MS = 16.0;

} // namespace

void web_frontend::show_frame(const frame_report&) {
    ++frames_shown_;
    session_.frame_shown();
    // Most passes draw the frame already shown; the page repaints only a new one.
    static uint8_t shown[LCD_BUFFER_SIZE];
    static bool any_shown = false;
    if (any_shown && std::memcmp(shown, lcd_buffer, LCD_BUFFER_SIZE) == 0) {
        return;
    }
    std::memcpy(shown, lcd_buffer, LCD_BUFFER_SIZE);
    any_shown = true;
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
        run_nested_ons();
        return;
    }
    const double now = emscripten_get_now();
    next_due_ms_ += FRAME_MS;
    // After a pause of the page (a tab in the background, a busy browser) the schedule
    // starts again from now: the frames missed are not run one after another.
    if (now - next_due_ms_ > FRAME_MS) {
        next_due_ms_ = now;
    }
    yield_until(next_due_ms_);
    run_nested_ons();
}

void web_frontend::restart_schedule() {
    next_due_ms_ = emscripten_get_now();
}

void web_frontend::yield_until(double due_ms) {
    double now = emscripten_get_now();
    if (now >= due_ms) {
        if (now - last_yield_ms_ < LONGEST_WITHOUT_YIELD_MS) {
            return;
        }
        emscripten_sleep(0);
    } else {
        emscripten_sleep(static_cast<unsigned>(std::ceil(due_ms - now)));
    }
    while (page_modal() != 0) {
        emscripten_sleep(50);
    }
    last_yield_ms_ = emscripten_get_now();
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
