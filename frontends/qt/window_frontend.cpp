#include "window_frontend.h"

#include "deliver_events.h"
#include "panel_control.h"
#include "pcmain.h"
#include "render_lcd.h"

using namespace txm9;

void WindowFrontend::show_frame(const frame_report& frame) {
    if (!replaying_) {
        render_lcd();
    }
    if (PanelControl* control = PanelControl::active()) {
        control->frameShown(frame);
    }
}

void WindowFrontend::set_lamp(uint32_t colour) {
    form_.Shape1->setFillColour(colour);
}

bool WindowFrontend::calibrate_ticked() {
    return form_.CheckBox2->isChecked();
}

bool WindowFrontend::key_fast_ticked() {
    return form_.CheckBox3->isChecked();
}

void WindowFrontend::tick_calibrate() {
    form_.CheckBox2->setChecked(true);
}

void WindowFrontend::deliver_events() {
    if (replaying_) {
        return;
    }
    deliver_window_events(form_.session(), paced_);
    if (PanelControl* control = PanelControl::active()) {
        control->frameDelivered();
    }
}
