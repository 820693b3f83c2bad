// What the page calls: its controls' handlers, as the window's are (ON, OFF, the five keys,
// the sliders, the boxes, Timer1), and what it shows beside the panel (the display as a
// picture, the session as a scenario). ON returns only when the run ends; the page calls it
// through Asyncify, and every other call comes while a run waits between two frames. Every
// input is written down for the session, as the window does.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/front_panel.h"
#include "engine/lcd_picture.h"
#include "engine/program_start.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"
#include "lcd_reader/lcd_text_reader.h"
#include "lcd_rgba.h"
#include "web_frontend.h"

using namespace txm9;

namespace {

web_frontend frontend;
front_panel engine(frontend);

struct picture_bytes {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};
picture_bytes picture;
std::string fault;
std::string session_text;

// Real time since the page opened, for the waits between inputs while the instrument is off.
uint64_t ms_since_start() {
    return static_cast<uint64_t>(emscripten_get_now());
}
bool running() {
    return engine.depth() > 0;
}

} // namespace

extern "C" {

// Program start: the instrument off, every variable zero.
EMSCRIPTEN_KEEPALIVE void txm9_start() {
    program_start_state();
    frontend.attach(engine);
}

// ON. Returns 1 when the run ended in the firmware's fault (txm9_fault says which), else 0.
// While a run is in progress, ON starts a second one inside it at the next frame and returns
// at once.
EMSCRIPTEN_KEEPALIVE int txm9_power_on() {
    frontend.session().on_clicked(ms_since_start(), running());
    if (running()) {
        frontend.request_nested_on();
        return 0;
    }
    frontend.restart_schedule();
    const run_end end = engine.power_on();
    fault = end.fault;
    return end.faulted ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const char* txm9_fault() {
    return fault.c_str();
}

EMSCRIPTEN_KEEPALIVE void txm9_power_off() {
    frontend.session().off_clicked(ms_since_start(), running());
    engine.power_off();
}

// Runs in progress: 0 while off, 2 or more after an ON inside a run.
EMSCRIPTEN_KEEPALIVE int txm9_runs() {
    return engine.depth();
}

// Off 0, splash 1, running 2, as seen by the innermost run.
EMSCRIPTEN_KEEPALIVE int txm9_phase() {
    return static_cast<int>(engine.phase());
}

// Splash frames and passes shown since the page opened.
EMSCRIPTEN_KEEPALIVE double txm9_frames() {
    return static_cast<double>(frontend.frames_shown());
}

EMSCRIPTEN_KEEPALIVE void txm9_pacing(int on) {
    frontend.set_paced(on != 0);
}

EMSCRIPTEN_KEEPALIVE void txm9_key(int code) {
    const auto key = static_cast<uint8_t>(code);
    frontend.session().key(key, pending_key == 0, ms_since_start(), running());
    key_pressed(key);
}

EMSCRIPTEN_KEEPALIVE void txm9_volts(int count) {
    raw_volts_adc = static_cast<uint32_t>(count);
    frontend.session().volts(raw_volts_adc, ms_since_start(), running());
}

EMSCRIPTEN_KEEPALIVE void txm9_amps(int count) {
    raw_amps_adc = static_cast<uint32_t>(count);
    frontend.session().amps(raw_amps_adc, ms_since_start(), running());
}

// The boxes as they stand after the user changed one of them.
EMSCRIPTEN_KEEPALIVE void txm9_boxes(int calibrate, int key_fast) {
    const bool was_calibrate = frontend.calibrate_ticked();
    const bool was_key_fast = frontend.key_fast_ticked();
    frontend.set_boxes(calibrate != 0, key_fast != 0);
    if (frontend.calibrate_ticked() != was_calibrate) {
        frontend.session().calibrate_box(calibrate != 0, ms_since_start(), running());
    }
    if (frontend.key_fast_ticked() != was_key_fast) {
        frontend.session().key_fast_box(key_fast != 0, ms_since_start(), running());
    }
}

// Every input since the page opened as a scenario for txm9-scenario, ending with what the
// display shows now: its screen and its longest reading.
EMSCRIPTEN_KEEPALIVE const char* txm9_session() {
    std::string text;
    for (const FoundText& found : find_all_texts()) {
        if (found.text.size() > text.size()) {
            text = found.text;
        }
    }
    session_text = frontend.session().scenario_text(ms_since_start(), running(),
                                                    screen_name(active_screen), text);
    return session_text.c_str();
}

// Timer1: `ticks` ticks of 100 ms that fell due on the page's clock.
EMSCRIPTEN_KEEPALIVE void txm9_timer(int ticks) {
    for (int i = 0; i < ticks; ++i) {
        tick();
    }
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
