// ADC values: the two filtered converter counts, for checking the inputs while calibrating.
#include <cstdio>

#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_rows.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

void draw() {
    char line[24];
    lcd_title(select_text(texts.adc_values_title));
    // Nothing here moves the cursor, so the leave row is always the selected one.
    draw_leave_row();
    std::snprintf(line, sizeof line, FORMAT_ADC_VOLTS, static_cast<unsigned>(volts_adc));
    lcd_list_text(0, 16, line, 100);
    std::snprintf(line, sizeof line, "%s" FORMAT_ADC_AMPS, text_adc_amps_label,
                  static_cast<unsigned>(amps_adc));
    lcd_list_text(0, 24, line, 100);
}

} // namespace

void screen_adc_values() {
    draw();
    if (pending_key == KEY_SELECT && menu_cursor == 0) {
        leave_to_menu(MENU_ITEM_ADC);
    }
    pending_key = 0;
}
