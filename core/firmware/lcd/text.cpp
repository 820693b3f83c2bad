// The bold 8 x 8 text at normal and double height, and its centred form.
#include "firmware/lcd/text.h"

#include <bit>

#include "firmware/lcd/fonts.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/working_text.h"

namespace {

// Codes outside the table (none of the instrument's texts has any) draw as a blank.
const uint8_t* glyph_8x8(char c) {
    uint8_t code = static_cast<uint8_t>(c);
    if (code < FONT_FIRST_CODE || code > FONT_8X8_LAST_CODE) {
        code = ' ';
    }
    return &font_8x8[(code - FONT_FIRST_CODE) * 8];
}

// A plain character only adds ink; an inverted one paints its whole 8 x 8 cell, the ink
// light on a dark ground.
void draw_normal(uint8_t& x, uint8_t y, const uint8_t* glyph, uint8_t inverse) {
    for (uint8_t k = 0; k < 8; ++k) {
        if (inverse == 1) {
            for (uint8_t r = 0; r < 8; ++r) {
                const bool ink = (glyph[k] & pixel_bit_mask[r]) != 0;
                lcd_put_pixel(x, static_cast<uint8_t>(y + r), ink ? PIXEL_CLEAR : PIXEL_SET);
            }
        } else {
            // Only the ink rows are visited: a glyph column is mostly ground.
            for (uint8_t ink = glyph[k]; ink != 0; ink = static_cast<uint8_t>(ink & (ink - 1))) {
                const auto r = static_cast<uint8_t>(std::countr_zero(ink));
                lcd_put_pixel(x, static_cast<uint8_t>(y + r), PIXEL_SET);
            }
        }
        ++x;
    }
}

// Each glyph row becomes two pixel rows; the ground is never touched. Only modes 0 and 1
// write: the large captions are drawn in one and wiped in the other.
void draw_double(uint8_t& x, uint8_t y, const uint8_t* glyph, uint8_t mode) {
    const bool writes = mode == PIXEL_CLEAR || mode == PIXEL_SET;
    for (uint8_t k = 0; k < 8; ++k) {
        for (uint8_t ink = writes ? glyph[k] : 0; ink != 0;
             ink = static_cast<uint8_t>(ink & (ink - 1))) {
            const auto r = static_cast<uint8_t>(std::countr_zero(ink));
            lcd_put_pixel(x, static_cast<uint8_t>(y + 2 * r), mode);
            lcd_put_pixel(x, static_cast<uint8_t>(y + 2 * r + 1), mode);
        }
        ++x;
    }
}

} // namespace

void lcd_text(uint8_t x, uint8_t y, const char* text, uint8_t double_height, uint8_t mode,
              uint8_t inverse) {
    const WorkingText copy = working_copy(text);
    for (uint8_t i = 0; i < copy.length; ++i) {
        const uint8_t* glyph = glyph_8x8(copy.chars[i]);
        if (double_height == 1) {
            draw_double(x, y, glyph, mode);
        } else {
            draw_normal(x, y, glyph, inverse);
        }
    }
}

void lcd_text_centred(uint8_t x, uint8_t y, const char* text, uint8_t double_height, uint8_t mode,
                      uint8_t inverse) {
    const uint8_t length = working_copy(text).length;
    lcd_text(static_cast<uint8_t>(x - 4 * length), y, text, double_height, mode, inverse);
}
