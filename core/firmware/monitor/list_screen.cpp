#include "firmware/monitor/list_screen.h"

#include "firmware/lcd/text.h"
#include "firmware/lcd/working_text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/texts.h"

namespace {

constexpr uint8_t row_y(uint8_t row) {
    return static_cast<uint8_t>(8 + 8 * row);
}

} // namespace

void draw_leave_row() {
    lcd_text_centred(57, row_y(0), select_text(texts.leave_row), 0, 1, menu_cursor == 0 ? 1 : 0);
}

void draw_action_row(uint8_t row, const char* text) {
    lcd_text(0, row_y(row), text, 0, 1, menu_cursor == row ? 1 : 0);
}

void leave_to_menu(uint8_t menu_item) {
    menu_cursor = menu_item;
    edit_mode = 0;
    active_screen = screen_menu;
}

void list_move_cursor(uint8_t key, uint8_t last_row) {
    switch (key) {
    case KEY_CW:
    case KEY_RIGHT:
        if (menu_cursor < last_row) {
            ++menu_cursor;
        }
        break;
    case KEY_CCW:
    case KEY_LEFT:
        if (menu_cursor > 0) {
            --menu_cursor;
        }
        break;
    default:
        break;
    }
}

int8_t edit_direction(uint8_t key) {
    switch (key) {
    case KEY_CW:
    case KEY_LEFT:
        return 1;
    case KEY_CCW:
    case KEY_RIGHT:
        return -1;
    default:
        return 0;
    }
}

uint8_t toggled(uint8_t value) {
    return value == 0 ? 1 : 0;
}

uint32_t step_wrapping(uint32_t value, int8_t direction, uint32_t step, uint32_t low,
                       uint32_t high) {
    // Written without intermediate overflow or underflow, so a range starting at 0 works.
    if (direction > 0) {
        return value > high - step ? low : value + step;
    }
    if (direction < 0) {
        return value < low + step ? high : value - step;
    }
    return value;
}

void menu_row(uint8_t value_x, uint8_t row, const char* label, const char* value) {
    // The scroll offset only moves the highlight: with the cursor at 7 or beyond it stays on
    // row 6. The list screens keep their cursor at 6 or below.
    const uint8_t scroll = menu_cursor >= 7 ? static_cast<uint8_t>(menu_cursor - 6) : 0;
    const bool selected = static_cast<uint8_t>(menu_cursor - scroll) == row;
    const uint8_t y = static_cast<uint8_t>(8 * row + 8);
    const uint8_t label_length = working_copy(label).length;
    lcd_list_text(0, y, label, selected && edit_mode == 0 ? 1 : 0);
    lcd_list_text(static_cast<uint8_t>(value_x + 8 * label_length), y, value, selected ? 1 : 0);
}
