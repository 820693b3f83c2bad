// Calibration list: the voltage factor, shown with the voltage it gives, and the three
// points of the current calibration, each taken from the present filtered current count.
#include <cstdio>

#include "firmware/board/hooks.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_rows.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t LAST_ROW = CALIBRATE_ROW_DISCHARGE_POINT;

void draw() {
    char value[24];
    lcd_title(select_text(texts.calibrate_title));
    draw_leave_row();
    // The voltage is the live reading, which already applies the factor: a step of the
    // factor shows in it on the following pass.
    std::snprintf(value, sizeof value, FORMAT_VOLT_CAL, static_cast<int>(volt_cal_percent),
                  volts_dv * 0.1);
    menu_row(0, CALIBRATE_ROW_VOLT_FACTOR, text_volt_cal_label, value);
    draw_action_row(CALIBRATE_ROW_ZERO_POINT, text_cal_zero);
    draw_action_row(CALIBRATE_ROW_CHARGE_POINT, text_cal_charge);
    draw_action_row(CALIBRATE_ROW_DISCHARGE_POINT, text_cal_discharge);
}

// Stores the count the shunt input gives right now (0 mV, +50 mV or -50 mV applied) and
// confirms with the message screen, which comes back here.
void take_point(uint32_t& point) {
    point = amps_adc;
    return_screen = screen_calibrate;
    active_screen = screen_message;
}

void handle_select() {
    switch (menu_cursor) {
    case 0:
        leave_to_menu(MENU_ITEM_CALIBRATE);
        commit_settings();
        break;
    case CALIBRATE_ROW_VOLT_FACTOR:
        edit_mode = toggled(edit_mode);
        break;
    case CALIBRATE_ROW_ZERO_POINT:
        take_point(cal_zero_adc);
        break;
    case CALIBRATE_ROW_CHARGE_POINT:
        take_point(cal_charge_adc);
        break;
    case CALIBRATE_ROW_DISCHARGE_POINT:
        take_point(cal_discharge_adc);
        break;
    default:
        break;
    }
}

void handle_key(uint8_t key) {
    if (key == KEY_SELECT) {
        handle_select();
    } else if (edit_mode == 0) {
        list_move_cursor(key, LAST_ROW);
    } else if (menu_cursor == CALIBRATE_ROW_VOLT_FACTOR) {
        volt_cal_percent = static_cast<uint8_t>(step_wrapping(
            volt_cal_percent, edit_direction(key), 1, VOLT_CAL_PERCENT_LOW, VOLT_CAL_PERCENT_HIGH));
    }
}

} // namespace

void screen_calibrate() {
    draw();
    if (pending_key != 0) {
        handle_key(pending_key);
        pending_key = 0;
    }
}
