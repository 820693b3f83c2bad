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

namespace {

// One display row's blocks, `scale` picture pixels each, from column `left` to `right` - 1.
// The colours are values, not references into memory the picture could overlap, so that the
// loop keeps them in registers; a scale known when compiling unrolls each block.
template <int Scale>
uint32_t* paint_blocks(uint32_t* out, const uint8_t* page, uint8_t mask, int left, int right,
                       uint32_t lit, uint32_t unlit, int scale = Scale) {
    for (int x = left; x < right; ++x) {
        out = std::fill_n(out, Scale > 0 ? Scale : scale, (page[x] & mask) != 0 ? lit : unlit);
    }
    return out;
}

} // namespace

void paint_lcd_picture_rect(uint32_t* pixels, std::ptrdiff_t stride, int scale,
                            const lcd_colours& colours, const lcd_rect& rect) {
    const uint32_t lit = colours.lit;
    const uint32_t unlit = colours.unlit;
    const std::ptrdiff_t width = static_cast<std::ptrdiff_t>(rect.right - rect.left) * scale;
    // Each display row becomes one picture row of blocks; the scale - 1 rows below it are
    // copies, which is what keeps a whole frame at the cost of a memory copy.
    for (int y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* const page = &lcd_buffer[(y / 8) * LCD_WIDTH];
        const uint8_t mask = pixel_bit_mask[y % 8];
        uint32_t* const line = pixels + static_cast<std::ptrdiff_t>(y) * scale * stride +
                               static_cast<std::ptrdiff_t>(rect.left) * scale;
        switch (scale) {
        case 1:
            paint_blocks<1>(line, page, mask, rect.left, rect.right, lit, unlit);
            break;
        case 2: // the window's own scale
            paint_blocks<2>(line, page, mask, rect.left, rect.right, lit, unlit);
            break;
        default:
            paint_blocks<0>(line, page, mask, rect.left, rect.right, lit, unlit, scale);
            break;
        }
        for (int copy = 1; copy < scale; ++copy) {
            std::copy(line, line + width, line + copy * stride);
        }
    }
}

void paint_lcd_picture(uint32_t* pixels, std::ptrdiff_t stride, int scale,
                       const lcd_colours& colours, bool margin) {
    paint_lcd_picture_rect(pixels, stride, scale, colours, LCD_WHOLE_DISPLAY);
    if (!margin) {
        return;
    }
    const int display_width = LCD_WIDTH * scale;
    const int width = lcd_picture_width(scale, true);
    for (int y = 0; y < lcd_picture_height(scale, true); ++y) {
        const int from = y < LCD_HEIGHT * scale ? display_width : 0;
        std::fill(pixels + y * stride + from, pixels + y * stride + width, colours.margin);
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
