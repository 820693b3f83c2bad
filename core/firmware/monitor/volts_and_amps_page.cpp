// Layout A, display mode 0: voltage and current together in medium numerals beside the
// large battery, with the current's direction as an arrow and a caption.
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icons.h"
#include "firmware/lcd/numerals.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/main_display.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t ICON_LARGE_BATTERY = 8;

// Both number styles end on column 94, leaving room for the unit at column 102.
constexpr uint8_t DECIMAL_X = 29;
constexpr uint8_t INTEGER_X = 41;
constexpr uint8_t UNIT_X = 102;
constexpr uint8_t NOTICE_CENTRE = 64;

void draw_voltage() {
    if (volts_over_range()) {
        if (blink_shown()) {
            lcd_text_centred(NOTICE_CENTRE, 7, select_text(texts.overrange), 1, 1, 0);
        }
    } else if (!volts_in_alarm() || blink_shown()) {
        char text[24];
        format_tenths(text, sizeof text, FORMAT_READING, volts_dv);
        lcd_digits_medium(DECIMAL_X, 2, text);
    }
    lcd_text(UNIT_X, 11, text_volts_unit, 1, 1, 0);
}

void draw_current() {
    if (current_over_range()) {
        if (blink_shown()) {
            lcd_text_centred(NOTICE_CENTRE, 35, select_text(texts.overrange), 1, 1, 0);
        }
    } else {
        const uint32_t magnitude = current_magnitude_da();
        char text[24];
        format_amps(text, sizeof text, magnitude, FORMAT_INTEGER_READING, FORMAT_READING);
        lcd_digits_medium(integer_style(magnitude) ? INTEGER_X : DECIMAL_X, 30, text);
    }
    lcd_text(UNIT_X, 39, text_amps_unit, 1, 1, 0);
}

} // namespace

void draw_volts_and_amps() {
    lcd_icon(ICON_LARGE_BATTERY);
    draw_voltage();
    draw_current();
    lcd_text_centred(
        57, 57, current_charging() ? select_text(texts.charging) : select_text(texts.discharging),
        0, 1, 0);
    draw_direction_arrow_large();
}
