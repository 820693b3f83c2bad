// Layout C, the current page of display modes 1 and 2: the current in large numerals, its
// direction as an arrow and a small caption, and the current bar with its peak marker.
#include <cstdint>
#include <limits>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icons.h"
#include "firmware/lcd/numerals.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/main_display.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t ICON_SMALL_BATTERY = 6;
constexpr uint8_t NOTICE_CENTRE = 67;
constexpr uint8_t INTEGER_X = 30;
constexpr uint8_t DECIMAL_X = 35;
// The small caption is never inverted.
constexpr uint8_t NO_INVERSION = 100;

void draw_current() {
    if (current_over_range()) {
        if (blink_shown()) {
            lcd_text_centred(NOTICE_CENTRE, 11, select_text(texts.over), 1, 1, 0);
            lcd_text_centred(NOTICE_CENTRE, 27, select_text(texts.range), 1, 1, 0);
        }
        return;
    }
    const uint32_t amps = current_magnitude_da();
    char text[24];
    format_amps(text, sizeof text, amps, FORMAT_INTEGER_READING, FORMAT_SHORT_READING);
    lcd_digits_large(integer_style(amps) ? INTEGER_X : DECIMAL_X, 11, text);
}

// The marker follows the peak in the present direction. A saturated discharge peak has no
// positive 32-bit magnitude; held at the largest, it still lies far beyond any bar scale.
int32_t peak_in_direction() {
    const uint32_t peak = magnitude_da(current_charging() ? peak_charge_da : peak_discharge_da);
    constexpr uint32_t largest = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(peak < largest ? peak : largest);
}

} // namespace

void draw_amps_page() {
    lcd_icon(ICON_SMALL_BATTERY);
    draw_current();
    draw_direction_arrow_small();
    lcd_small_text_centred(
        67, 0, current_charging() ? select_text(texts.charging) : select_text(texts.discharging),
        NO_INVERSION);
    lcd_text(102, 27, text_amps_unit, 1, 1, 0);
    draw_current_bar(peak_in_direction());
}
