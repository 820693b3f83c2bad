// Display setup list: the contrast screen, backlight, language, what the main display shows
// and how it alternates its pages.
#include <cstdio>

#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_rows.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

// The volts-and-amps page has nothing to alternate, so the cycling rows only exist for the
// single-reading modes, and the time only while cycling is on.
bool cycle_rows_present() {
    return display_mode != 0;
}
bool cycle_time_row_present() {
    return display_mode != 0 && auto_cycle != 0;
}

uint8_t last_row() {
    if (!cycle_rows_present()) {
        return DISPLAY_ROW_DISPLAY_MODE;
    }
    return cycle_time_row_present() ? DISPLAY_ROW_CYCLE_TIME : DISPLAY_ROW_CYCLE;
}

const char* display_mode_text() {
    switch (display_mode) {
    case 1:
        return text_mode_volts;
    case 2:
        return text_mode_amps;
    default:
        return text_mode_volts_and_amps;
    }
}

void draw() {
    lcd_title(select_text(texts.display_setup_title));
    draw_leave_row();
    draw_action_row(DISPLAY_ROW_CONTRAST, select_text(texts.adjust_contrast));
    menu_row(0, DISPLAY_ROW_BACKLIGHT, select_text(texts.backlight_label),
             switch_text(backlight_on));
    menu_row(0, DISPLAY_ROW_LANGUAGE, text_language_label, select_text(texts.language_name));
    menu_row(0, DISPLAY_ROW_DISPLAY_MODE, select_text(texts.display_label), display_mode_text());
    if (cycle_rows_present()) {
        menu_row(0, DISPLAY_ROW_CYCLE, text_cycle_label,
                 auto_cycle != 0 ? text_auto : select_text(texts.manual));
    }
    if (cycle_time_row_present()) {
        char seconds[24];
        std::snprintf(seconds, sizeof seconds, FORMAT_DISPLAY_TIME, cycle_times[cycle_time_index]);
        menu_row(0, DISPLAY_ROW_CYCLE_TIME, select_text(texts.display_time_label), seconds);
    }
}

void edit_selected_row(int8_t direction) {
    if (direction == 0) {
        return;
    }
    switch (menu_cursor) {
    case DISPLAY_ROW_BACKLIGHT:
        backlight_on = toggled(backlight_on);
        break;
    case DISPLAY_ROW_LANGUAGE:
        language = toggled(language);
        break;
    case DISPLAY_ROW_DISPLAY_MODE:
        display_mode = static_cast<uint8_t>(step_wrapping(display_mode, direction, 1, 0, 2));
        // Leaving with AMPS selected shows the amps page at once, any other mode the volts.
        amps_page = display_mode == 2 ? 1 : 0;
        break;
    case DISPLAY_ROW_CYCLE:
        auto_cycle = toggled(auto_cycle);
        break;
    case DISPLAY_ROW_CYCLE_TIME:
        cycle_time_index =
            static_cast<uint8_t>(step_wrapping(cycle_time_index, direction, 1, 0, 6));
        break;
    default:
        break;
    }
}

void handle_key(uint8_t key) {
    if (key == KEY_SELECT) {
        if (menu_cursor == 0) {
            leave_to_menu(MENU_ITEM_DISPLAY);
        } else if (menu_cursor == DISPLAY_ROW_CONTRAST) {
            menu_cursor = 0;
            return_screen = screen_display_setup;
            active_screen = screen_contrast;
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

void screen_display_setup() {
    draw();
    if (pending_key != 0) {
        handle_key(pending_key);
        pending_key = 0;
    }
}
