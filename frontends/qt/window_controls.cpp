#include "window_controls.h"

#include <QAbstractButton>
#include <QSlider>
#include <QTimer>
#include <functional>

#include "engine/panel_inputs.h"
#include "panel_keys.h"
#include "pcmain.h"

using namespace txm9;

namespace {

// ON and OFF shown pressed for a moment, as the keys are: after click() has let go of them,
// and, for ON, once the run it starts shows its first frame.
void show_pressed(QAbstractButton* button) {
    QTimer::singleShot(0, button, [button] { button->setDown(true); });
    QTimer::singleShot(PRESSED_LOOK_MS, button, [button] { button->setDown(false); });
}

// The slider moves to the count; at the count already, the count is set again, as the runner
// sets it.
void move_slider(QSlider* slider, uint32_t count, const std::function<void()>& set_again) {
    if (slider->value() == static_cast<int>(count)) {
        set_again();
    } else {
        slider->setValue(static_cast<int>(count));
    }
}

void set_box(QAbstractButton* box, bool ticked) {
    if (box->isChecked() != ticked) {
        box->click();
    }
}

} // namespace

void WindowControls::press(uint8_t key) {
    form_.panelKeys().press(key);
}

void WindowControls::set_volts(uint32_t count) {
    move_slider(form_.TrackBar1, count, [this, count] { form_.session().volts(count); });
}

void WindowControls::set_amps(uint32_t count) {
    move_slider(form_.TrackBar2, count, [this, count] { form_.session().amps(count); });
}

void WindowControls::set_calibrate(bool ticked) {
    set_box(form_.CheckBox2, ticked);
}

void WindowControls::set_key_fast(bool ticked) {
    set_box(form_.CheckBox3, ticked);
}

run_end WindowControls::switch_on() {
    show_pressed(form_.Button1);
    form_.Button1->click();
    return form_.session().last_run();
}

void WindowControls::switch_off() {
    form_.Button2->click();
    show_pressed(form_.Button2);
}

bool WindowControls::lamp_lit() const {
    return form_.session().lamp_lit();
}

const front_panel& WindowControls::engine() const {
    return form_.engine();
}
