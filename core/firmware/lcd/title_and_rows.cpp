// The screen title with its two rules, and the text of the setup lists' lines.
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/lcd/working_text.h"

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
