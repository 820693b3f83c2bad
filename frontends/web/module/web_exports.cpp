// What the page calls: its controls' handlers, as the window's are (ON, OFF, the five keys,
// the sliders, the boxes, Timer1), time control, and what it shows beside the panel (the
// display as a picture, the session as a scenario). ON returns only when the run ends; the
// page calls it through Asyncify, and every other call comes while a run waits between two
// frames. Every input is written down for the session, as the window does.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/front_panel.h"
#include "engine/lcd_picture.h"
#include "engine/panel_inputs.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "json_text.h"
#include "lcd_reader/lcd_text_reader.h"
#include "lcd_rgba.h"
#include "web_exports.h"
#include "web_panel.h"

using namespace txm9;

namespace {

struct picture_bytes {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};
picture_bytes picture;
std::string fault;
std::string session_text;
std::string inputs_text;

web_frontend& frontend() {
    return page_panel().frontend();
}
panel_session& session() {
    return page_panel().session();
}

} // namespace

extern "C" {

// Program start: the instrument off, every variable zero.
EMSCRIPTEN_KEEPALIVE void txm9_start() {
    session().program_start();
}

// ON. Returns 1 when the run ended in the firmware's fault (txm9_fault says which), else 0.
// While a run is in progress, ON starts a second one inside it at the next frame and returns
// at once. Every ON starts at x1, unpaused.
EMSCRIPTEN_KEEPALIVE int txm9_power_on() {
    if (session().running()) {
        session().on_pressed();
        frontend().request_nested_on();
        return 0;
    }
    const run_end end = session().power_on();
    fault = end.fault;
    return end.faulted ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* txm9_fault() {
    return fault.c_str();
}

EMSCRIPTEN_KEEPALIVE void txm9_power_off() {
    session().power_off();
}

// Runs in progress: 0 while off, 2 or more after an ON inside a run.
EMSCRIPTEN_KEEPALIVE int txm9_runs() {
    return session().engine().depth();
}

// Off 0, splash 1, running 2, as seen by the innermost run.
EMSCRIPTEN_KEEPALIVE int txm9_phase() {
    return static_cast<int>(session().engine().phase());
}

// Splash frames and passes shown since the page opened.
EMSCRIPTEN_KEEPALIVE double txm9_frames() {
    return static_cast<double>(frontend().frames_shown());
}

EMSCRIPTEN_KEEPALIVE void txm9_pacing(int on) {
    frontend().set_paced(on != 0);
}

// A key reaches the slot as the instrument's key handler has it; while paused, after the next
// frame.
EMSCRIPTEN_KEEPALIVE void txm9_key(int code) {
    session().key(static_cast<uint8_t>(code));
}

EMSCRIPTEN_KEEPALIVE void txm9_volts(int count) {
    session().volts(static_cast<uint32_t>(count));
}

EMSCRIPTEN_KEEPALIVE void txm9_amps(int count) {
    session().amps(static_cast<uint32_t>(count));
}

// The boxes as they stand after the user changed one of them.
EMSCRIPTEN_KEEPALIVE void txm9_boxes(int calibrate, int key_fast) {
    const bool was_calibrate = frontend().calibrate_ticked();
    const bool was_key_fast = frontend().key_fast_ticked();
    frontend().set_boxes(calibrate != 0, key_fast != 0);
    if (frontend().calibrate_ticked() != was_calibrate) {
        session().calibrate_box(calibrate != 0);
    }
    if (frontend().key_fast_ticked() != was_key_fast) {
        session().key_fast_box(key_fast != 0);
    }
}

// Timer1: `ticks` ticks that fell due on the page's clock. While the frames bring the tick
// (a run away from x1, or paused) or a play keeps the time, the timer's ticks are not the
// instrument's.
EMSCRIPTEN_KEEPALIVE void txm9_timer(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        session().timer_tick();
    }
}

// Time control: pause (1) or go on (0); one frame while paused; the speed (0.25 to 16).
EMSCRIPTEN_KEEPALIVE void txm9_set_paused(int paused) {
    session().time().set_paused(paused != 0);
}
EMSCRIPTEN_KEEPALIVE int txm9_paused() {
    return session().time().paused() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE void txm9_step() {
    session().time().step();
}
EMSCRIPTEN_KEEPALIVE void txm9_set_speed(double speed) {
    session().time().set_speed(speed);
}
EMSCRIPTEN_KEEPALIVE double txm9_speed() {
    return session().time().speed();
}
// Real milliseconds between two ticks of Timer1 at the speed chosen.
EMSCRIPTEN_KEEPALIVE double txm9_tick_period_ms() {
    return session().time().tick_period_ms();
}

// Every input since the page opened as a scenario for txm9-scenario, ending with what the
// display shows now: its screen and its longest reading.
EMSCRIPTEN_KEEPALIVE const char* txm9_session() {
    std::string text;
    for (const found_text& found : find_all_texts()) {
        if (found.text.size() > text.size()) {
            text = found.text;
        }
    }
    session_text = session().recorder().scenario_text(
        session().ms_since_start(), session().run_goes_on(), screen_name(active_screen), text);
    return session_text.c_str();
}

// The panel's inputs, for the page's controls and keyboard, as JSON: {pressedMs, wheelNotch,
// inputs: [{code, word, id, name, control, keyboard, tooltip}]} in the order reports show them.
EMSCRIPTEN_KEEPALIVE const char* txm9_inputs() {
    std::string& json = inputs_text;
    json = "{\"pressedMs\":" + std::to_string(PRESSED_LOOK_MS) +
           ",\"wheelNotch\":" + std::to_string(WHEEL_NOTCH) + ",\"inputs\":[";
    for (const panel_input& input : panel_inputs) {
        json += std::string(&input == panel_inputs ? "" : ",") +
                "{\"code\":" + std::to_string(input.key) + ",\"word\":" + json_quote(input.word) +
                ",\"id\":" + json_quote(input.id) + ",\"name\":" + json_quote(input.name) +
                ",\"control\":" + json_quote(input.control) +
                ",\"keyboard\":" + json_quote(input.keyboard) +
                ",\"tooltip\":" + json_quote(input.tooltip) + "}";
    }
    json += "]}";
    return json.c_str();
}

// The display as a picture at `scale`, in RGBA bytes: txm9_picture_width/height give its
// size. The pictures the window saves and the runner writes.
EMSCRIPTEN_KEEPALIVE const uint8_t* txm9_picture(int scale) {
    picture.width = lcd_picture_width(scale, false);
    picture.height = lcd_picture_height(scale, false);
    picture.rgba = lcd_rgba(scale);
    return picture.rgba.data();
}
EMSCRIPTEN_KEEPALIVE int txm9_picture_width() {
    return picture.width;
}
EMSCRIPTEN_KEEPALIVE int txm9_picture_height() {
    return picture.height;
}

} // extern "C"
