// The home screen: the layout chosen by the display mode and page, the alarm
// acknowledgement, and the keys that lead to the menu, the peaks and the contrast.
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/main_display.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

namespace {

void act_on_key(uint8_t key) {
    switch (key) {
    case KEY_SELECT:
        menu_cursor = 0;
        edit_mode = 0;
        active_screen = screen_menu;
        break;
    case KEY_CW:
    case KEY_CCW:
        // The knob turns the page in either direction; display mode 0 has only one page.
        if (display_mode != 0) {
            amps_page = toggled(amps_page);
        }
        break;
    case KEY_LEFT:
        active_screen = screen_max_values;
        break;
    case KEY_RIGHT:
        menu_cursor = 0;
        return_screen = screen_main;
        active_screen = screen_contrast;
        break;
    default:
        break;
    }
}

} // namespace

void screen_main() {
    if (display_mode == 0) {
        draw_volts_and_amps();
    } else if (amps_page == 0) {
        draw_volts_page();
    } else {
        draw_amps_page();
    }

    if (pending_key == 0) {
        return;
    }
    // The first key after an alarm only acknowledges it, whichever key it is.
    if (volts_in_alarm() && alarm_ack == 0) {
        alarm_ack = 1;
    } else {
        act_on_key(pending_key);
    }
    pending_key = 0;
}
