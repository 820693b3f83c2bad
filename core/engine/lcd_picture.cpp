#include "engine/lcd_picture.h"

#include <algorithm>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

int lcd_picture_width(int scale, bool margin) {
    return LCD_WIDTH * scale + (margin ? LCD_MARGIN_COLUMNS : 0);
}

int lcd_picture_height(int scale, bool margin) {
    return LCD_HEIGHT * scale + (margin ? LCD_MARGIN_ROWS : 0);
}

void paint_lcd_picture(uint32_t* pixels, std::ptrdiff_t stride, int scale,
                       const lcd_colours& colours, bool margin) {
    const int width = lcd_picture_width(scale, margin);
    // Each display row becomes one picture row of blocks; the scale - 1 rows below it are
    // copies, which is what keeps a whole frame at the cost of a memory copy.
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        const uint8_t* const page = &lcd_buffer[(y / 8) * LCD_WIDTH];
        const uint8_t mask = pixel_bit_mask[y % 8];
        uint32_t* const line = pixels + static_cast<std::ptrdiff_t>(y) * scale * stride;
        uint32_t* out = line;
        for (int x = 0; x < LCD_WIDTH; ++x) {
            out = std::fill_n(out, scale, (page[x] & mask) != 0 ? colours.lit : colours.unlit);
        }
        std::fill(out, line + width, colours.margin);
        for (int copy = 1; copy < scale; ++copy) {
            std::copy(line, line + width, line + copy * stride);
        }
    }
    if (margin) {
        for (int y = LCD_HEIGHT * scale; y < lcd_picture_height(scale, true); ++y) {
            std::fill_n(pixels + y * stride, width, colours.margin);
        }
    }
}

std::vector<uint32_t> lcd_picture(int scale, const lcd_colours& colours, bool margin) {
    const int width = lcd_picture_width(scale, margin);
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width) *
                                 lcd_picture_height(scale, margin));
    paint_lcd_picture(pixels.data(), width, scale, colours, margin);
    return pixels;
}

} // namespace txm9
