// The small 5 x 7 text on a 6-column pitch, and its centred form.
#include "firmware/lcd/fonts.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/lcd/working_text.h"

namespace {

// Codes outside the table (none of the instrument's texts has any) draw as a blank.
const uint8_t* glyph_small(char c) {
    uint8_t code = static_cast<uint8_t>(c);
    if (code < FONT_FIRST_CODE || code > FONT_SMALL_LAST_CODE) {
        code = ' ';
    }
    return &font_small[(code - FONT_FIRST_CODE) * 5];
}

} // namespace

void lcd_small_text(uint8_t x, uint8_t y, const char* text, uint8_t inverse_from) {
    const WorkingText copy = working_copy(text);
    bool inverted = false;
    for (uint8_t i = 0; i < copy.length; ++i) {
        if (i == inverse_from) {
            inverted = true;
        }
        const uint8_t* glyph = glyph_small(copy.chars[i]);
        // Six columns, the sixth blank; the byte's top bit is the row above the box, so an
        // inverted character's dark cell runs from y - 1 to y + 6. Nothing is ever cleared.
        for (uint8_t k = 0; k < 6; ++k) {
            const uint8_t column = k < 5 ? glyph[k] : 0;
            for (uint8_t r = 0; r < 8; ++r) {
                const bool ink = (column & pixel_bit_mask[7 - r]) != 0;
                if (ink != inverted) {
                    lcd_put_pixel(static_cast<uint8_t>(x + k), static_cast<uint8_t>(y + r - 1),
                                  PIXEL_SET);
                }
            }
        }
        x = static_cast<uint8_t>(x + 6);
    }
}

void lcd_small_text_centred(uint8_t x, uint8_t y, const char* text, uint8_t inverse_from) {
    const uint8_t length = working_copy(text).length;
    lcd_small_text(static_cast<uint8_t>(x - 3 * length), y, text, inverse_from);
}
