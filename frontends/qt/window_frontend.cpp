#include "window_frontend.h"

#include "deliver_events.h"
#include "panel_control.h"
#include "panel_playback.h"
#include "pcmain.h"
#include "render_lcd.h"

using namespace txm9;

void WindowFrontend::show_frame(const frame_report& frame) {
    form_.recorder().frame_shown();
    render_lcd();
    form_.playback().frameShown(frame);
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
    ::deliver_events();
    form_.playback().frameDelivered();
    if (PanelControl* control = PanelControl::active()) {
        control->frameDelivered();
    }
}
