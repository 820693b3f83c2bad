// The screen title with its two rules, and the lines of the setup lists.
#include "framebuffer.h"
#include "state.h"
#include "text.h"
#include "working_text.h"

void lcd_title(const char* text) {
    // Titles carry a blank at each end, so the rules stop a few pixels short of the letters.
    const int32_t length = working_copy(text).length;
    lcd_text(static_cast<uint8_t>(57 - 4 * length), 0, text, 0, 1, 0);
    lcd_line(0, 4, 59 - 4 * length, 4, 1);
    lcd_line(4 * length + 55, 4, 118, 4, 1);
}

void lcd_list_text(uint8_t x, uint8_t y, const char* text, uint8_t inverse) {
    if (y > 7) {
        lcd_text(x, y, text, 0, 1, inverse);
    }
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
