// Layout B, the voltage page of display modes 1 and 2: the voltage in large numerals and
// its peak since the last reset.
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icons.h"
#include "firmware/lcd/numerals.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/main_display.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t ICON_SMALL_BATTERY = 9;
constexpr uint8_t NOTICE_CENTRE = 67;

} // namespace

void draw_volts_page() {
    lcd_icon(ICON_SMALL_BATTERY);

    char text[24];
    format_tenths(text, sizeof text, FORMAT_MAX_VOLTS, peak_volts_dv);
    lcd_text_centred(56, 50, text, 0, 1, 0);

    if (volts_over_range()) {
        if (blink_shown()) {
            lcd_text_centred(NOTICE_CENTRE, 9, select_text(texts.over), 1, 1, 0);
            lcd_text_centred(NOTICE_CENTRE, 25, select_text(texts.range), 1, 1, 0);
        }
    } else if (!volts_in_alarm() || blink_shown()) {
        format_tenths(text, sizeof text, FORMAT_READING, volts_dv);
        lcd_digits_large(25, 9, text);
    }
    lcd_text(106, 25, text_volts_unit, 1, 1, 0);
}
