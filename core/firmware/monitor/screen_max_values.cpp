// The peak values since the last reset: voltage, charge and discharge current. The left
// key, beside the inverted " RESET " in the bottom-left corner, restarts them.
#include <cstdint>

#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/main_display.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t VALUE_X = 75;

void draw_peak_amps(uint8_t y, int32_t peak_da) {
    char text[24];
    format_amps(text, sizeof text, magnitude_da(peak_da), FORMAT_PEAK_AMPS_INTEGER,
                FORMAT_PEAK_AMPS);
    lcd_text(VALUE_X, y, text, 1, 1, 0);
}

} // namespace

void screen_max_values() {
    lcd_title(select_text(texts.max_values_title));

    lcd_text(0, 10, text_peak_volts_label, 0, 1, 0);
    char text[24];
    format_tenths(text, sizeof text, FORMAT_PEAK_VOLTS, peak_volts_dv);
    lcd_text(VALUE_X, 9, text, 1, 1, 0);

    lcd_text(0, 26, text_peak_charge_label, 0, 1, 0);
    draw_peak_amps(25, peak_charge_da);

    lcd_text(0, 42, select_text(texts.peak_discharge_label), 0, 1, 0);
    draw_peak_amps(41, peak_discharge_da);

    lcd_text(0, 56, select_text(texts.peak_reset), 0, 1, 1);

    switch (pending_key) {
    case KEY_LEFT:
        reset_peaks();
        break;
    case KEY_SELECT:
    case KEY_CW:
    case KEY_CCW:
    case KEY_RIGHT:
        active_screen = screen_main;
        break;
    default:
        break;
    }
    pending_key = 0;
}
