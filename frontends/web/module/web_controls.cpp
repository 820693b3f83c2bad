#include "web_controls.h"

#include <emscripten.h>

#include "web_panel.h"

namespace txm9 {

namespace {

// The page's side: page.js fills these in with the panel's controls.
EM_JS(void, controls_show_pressed, (int key), { Module.page.showPressed(key); });
EM_JS(void, controls_press_button, (const char* id),
      { Module.page.pressButton(UTF8ToString(id)); });
EM_JS(void, controls_set_slider, (int amps, int count),
      { Module.page.setSlider(amps != 0, count); });
EM_JS(void, controls_set_box, (int key_fast, int ticked),
      { Module.page.setBox(key_fast != 0, ticked != 0); });
EM_JS(void, controls_fault, (const char* message),
      { Module.page.fault(UTF8ToString(message), 3000); });
// ON puts time control back to life speed: the page's Timer1 follows it (a page without a
// Timer1, the tests', has nothing to follow).
EM_JS(void, controls_time_changed, (), {
    if (Module.page.timeChanged)
        Module.page.timeChanged();
});

web_frontend& frontend() {
    return page_panel().frontend();
}
panel_session& session() {
    return page_panel().session();
}

} // namespace

void web_controls::press(uint8_t key) {
    session().key(key);
    controls_show_pressed(key);
}

void web_controls::set_volts(uint32_t count) {
    controls_set_slider(0, static_cast<int>(count));
    session().volts(count);
}

void web_controls::set_amps(uint32_t count) {
    controls_set_slider(1, static_cast<int>(count));
    session().amps(count);
}

void web_controls::set_calibrate(bool ticked) {
    controls_set_box(0, ticked ? 1 : 0);
    if (frontend().calibrate_ticked() != ticked) {
        frontend().set_boxes(ticked, frontend().key_fast_ticked());
        session().calibrate_box(ticked);
    }
}

void web_controls::set_key_fast(bool ticked) {
    controls_set_box(1, ticked ? 1 : 0);
    if (frontend().key_fast_ticked() != ticked) {
        frontend().set_boxes(frontend().calibrate_ticked(), ticked);
        session().key_fast_box(ticked);
    }
}

run_end web_controls::switch_on() {
    controls_press_button("Button1");
    session().on_pressed();
    controls_time_changed();
    const run_end end = session().run();
    if (end.faulted) {
        controls_fault(end.fault.c_str());
    }
    return end;
}

void web_controls::switch_off() {
    controls_press_button("Button2");
    session().power_off();
}

bool web_controls::lamp_lit() const {
    return session().lamp_lit();
}

const front_panel& web_controls::engine() const {
    return page_panel().session().engine();
}

} // namespace txm9
