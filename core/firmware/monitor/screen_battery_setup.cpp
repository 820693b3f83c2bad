// Battery setup list: shunt rating, full scale of the current bar and the voltage alarm
// with its two thresholds.
#include <cstdio>

#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_rows.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

// Shunts and bar scales come in 5 A steps up to 500 A.
constexpr uint32_t AMPS_STEP = 5;
constexpr uint32_t AMPS_LOW = 5;
constexpr uint32_t AMPS_HIGH = 500;
// Thresholds from 8.0 V to 30.0 V, in tenths, stepped by 0.1 V or 1.0 V (KeyFast).
constexpr uint32_t ALARM_LOW_DV = 80;
constexpr uint32_t ALARM_HIGH_DV = 300;

// The thresholds mean nothing while the alarm is off, so their rows go away.
bool threshold_rows_present() {
    return volt_alarm_enabled == 1;
}

uint8_t last_row() {
    return threshold_rows_present() ? BATTERY_ROW_HIGH_ALARM : BATTERY_ROW_ALARM;
}

void draw() {
    char value[24];
    lcd_title(select_text(texts.battery_setup_title));
    draw_leave_row();

    std::snprintf(value, sizeof value, FORMAT_SHUNT_AMPS, static_cast<unsigned>(shunt_amps));
    menu_row(0, BATTERY_ROW_SHUNT, text_shunt_label, value);

    std::snprintf(value, sizeof value, FORMAT_BAR_SCALE_AMPS,
                  static_cast<unsigned>(bar_scale_amps));
    menu_row(0, BATTERY_ROW_BAR_SCALE, select_text(texts.bar_scale_label), value);

    menu_row(0, BATTERY_ROW_ALARM, select_text(texts.volt_alarm_label),
             switch_text(volt_alarm_enabled));

    if (threshold_rows_present()) {
        // Tenths times 0.1 printed with one decimal shows the stored tenths exactly. Both
        // labels are nine characters, so both values start at column 72.
        std::snprintf(value, sizeof value, FORMAT_LOW_ALARM, low_alarm_dv * 0.1);
        menu_row(0, BATTERY_ROW_LOW_ALARM, select_text(texts.low_alarm_label), value);
        std::snprintf(value, sizeof value, FORMAT_HIGH_ALARM, high_alarm_dv * 0.1);
        menu_row(0, BATTERY_ROW_HIGH_ALARM, select_text(texts.high_alarm_label), value);
    }
}

void edit_selected_row(int8_t direction) {
    if (direction == 0) {
        return;
    }
    // Wrapping to the opposite end lets the knob reach any value from either side.
    switch (menu_cursor) {
    case BATTERY_ROW_SHUNT:
        shunt_amps = step_wrapping(shunt_amps, direction, AMPS_STEP, AMPS_LOW, AMPS_HIGH);
        break;
    case BATTERY_ROW_BAR_SCALE:
        bar_scale_amps = step_wrapping(bar_scale_amps, direction, AMPS_STEP, AMPS_LOW, AMPS_HIGH);
        break;
    case BATTERY_ROW_ALARM:
        volt_alarm_enabled = toggled(volt_alarm_enabled);
        break;
    case BATTERY_ROW_LOW_ALARM:
        low_alarm_dv =
            step_wrapping(low_alarm_dv, direction, key_step, ALARM_LOW_DV, ALARM_HIGH_DV);
        break;
    case BATTERY_ROW_HIGH_ALARM:
        high_alarm_dv =
            step_wrapping(high_alarm_dv, direction, key_step, ALARM_LOW_DV, ALARM_HIGH_DV);
        break;
    default:
        break;
    }
}

void handle_key(uint8_t key) {
    if (key == KEY_SELECT) {
        if (menu_cursor == 0) {
            leave_to_menu(MENU_ITEM_BATTERY);
        } else {
            edit_mode = toggled(edit_mode);
        }
    } else if (edit_mode == 0) {
        list_move_cursor(key, last_row());
    } else {
        edit_selected_row(edit_direction(key));
    }
}

} // namespace

void screen_battery_setup() {
    draw();
    if (pending_key != 0) {
        handle_key(pending_key);
        pending_key = 0;
    }
}
