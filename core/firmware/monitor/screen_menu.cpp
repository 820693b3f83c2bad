// The main menu: one item at a time, its name in double-height letters beside its icon,
// and a scroll marker at the right edge telling where the item stands in the list.
#include "firmware/board/hooks.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icons.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_rows.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

// Icons of the items in the order of the menu.
constexpr uint8_t ICON_EXIT = 1;
constexpr uint8_t ICON_DISPLAY = 7;
constexpr uint8_t ICON_BATTERY = 0;
constexpr uint8_t ICON_ADC = 3;
constexpr uint8_t ICON_CALIBRATE = 2;

// Names are centred in the space between the icon and the scroll marker.
constexpr uint8_t NAME_CENTRE = 73;
constexpr uint8_t UPPER_LINE_Y = 18;
constexpr uint8_t LOWER_LINE_Y = 36;
constexpr uint8_t SINGLE_LINE_Y = 26;

// The calibration items (ADC values, calibrate) are offered only while calibration is
// unlocked.
uint8_t item_count() {
    return calibrate_enabled == 1 ? 5 : 3;
}

void draw_name_line(uint8_t y, const char* text) {
    lcd_text_centred(NAME_CENTRE, y, text, 1, 1, 0);
}

void draw_two_lines(const char* upper, const char* lower) {
    draw_name_line(UPPER_LINE_Y, upper);
    draw_name_line(LOWER_LINE_Y, lower);
}

void draw_item(uint8_t item) {
    switch (item) {
    case MENU_ITEM_EXIT:
        lcd_icon(ICON_EXIT);
        // The French word takes one line where English needs two.
        if (language == 0) {
            draw_two_lines(text_exit, text_menu);
        } else {
            draw_name_line(SINGLE_LINE_Y, text_sortie);
        }
        break;
    case MENU_ITEM_DISPLAY:
        lcd_icon(ICON_DISPLAY);
        draw_two_lines(select_text(texts.menu_display_upper),
                       select_text(texts.menu_display_lower));
        break;
    case MENU_ITEM_BATTERY:
        lcd_icon(ICON_BATTERY);
        draw_two_lines(select_text(texts.menu_battery_upper),
                       select_text(texts.menu_battery_lower));
        break;
    case MENU_ITEM_ADC:
        lcd_icon(ICON_ADC);
        draw_two_lines(select_text(texts.menu_adc_upper), select_text(texts.menu_adc_lower));
        break;
    case MENU_ITEM_CALIBRATE:
        lcd_icon(ICON_CALIBRATE);
        draw_name_line(SINGLE_LINE_Y, select_text(texts.menu_calibrate));
        break;
    default:
        break;
    }
}

void open_item(uint8_t item) {
    switch (item) {
    case MENU_ITEM_EXIT:
        commit_settings();
        active_screen = screen_main;
        break;
    case MENU_ITEM_DISPLAY:
        active_screen = screen_display_setup;
        break;
    case MENU_ITEM_BATTERY:
        active_screen = screen_battery_setup;
        break;
    case MENU_ITEM_ADC:
        active_screen = screen_adc_values;
        break;
    case MENU_ITEM_CALIBRATE:
        active_screen = screen_calibrate;
        break;
    default:
        break;
    }
    // Every list opens on its leave row, not editing.
    menu_cursor = 0;
    edit_mode = 0;
}

// The scroll bar at the right edge: a rule down column 111 and a block over columns
// 109..113 marking item `index` of `count`, rows 8..63 split into `count` equal parts.
void menu_scroll_marker(uint8_t index, uint8_t count) {
    lcd_line(111, 8, 111, 63, PIXEL_SET);
    // Single precision throughout: the instrument's blocks share their boundary rows and the
    // last one ends on row 64, just off the display.
    const float step = 56.0f / static_cast<float>(count);
    const float top = static_cast<float>(index) * step + 8.0f;
    const float bottom = top + step;
    const auto top_row = static_cast<int32_t>(top);
    const auto bottom_row = static_cast<int32_t>(bottom);
    lcd_fill(109, static_cast<uint8_t>(top_row), 114, static_cast<uint8_t>(bottom_row), PIXEL_SET);
}

} // namespace

void screen_menu() {
    lcd_title(select_text(texts.main_menu_title));
    menu_scroll_marker(menu_cursor, item_count());
    draw_item(menu_cursor);

    if (pending_key == 0) {
        return;
    }
    if (pending_key == KEY_SELECT) {
        open_item(menu_cursor);
    } else {
        // The list screens' navigation, never wrapping. With calibration locked again while
        // item 3 or 4 shows, the cursor stays put until a backward key.
        list_move_cursor(pending_key, static_cast<uint8_t>(item_count() - 1));
    }
    pending_key = 0;
}
