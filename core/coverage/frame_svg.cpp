#include "coverage/frame_svg.h"

#include <cstdio>

#include "engine/lcd_picture.h"

namespace txm9 {

namespace {

std::string css_colour(uint32_t argb) {
    char out[8];
    std::snprintf(out, sizeof out, "#%06x", static_cast<unsigned>(argb & 0xFFFFFFu));
    return out;
}

bool dark(const std::array<uint8_t, LCD_BUFFER_SIZE>& frame, int x, int y) {
    return (frame[static_cast<std::size_t>(y / 8 * LCD_WIDTH + x)] & pixel_bit_mask[y % 8]) != 0;
}

} // namespace

std::string frame_svg(const std::array<uint8_t, LCD_BUFFER_SIZE>& frame, int scale) {
    std::string path;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH;) {
            if (!dark(frame, x, y)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < LCD_WIDTH && dark(frame, x, y)) {
                ++x;
            }
            path += "M" + std::to_string(start) + " " + std::to_string(y) + "h" +
                    std::to_string(x - start) + "v1h-" + std::to_string(x - start) + "z";
        }
    }
    const std::string w = std::to_string(LCD_WIDTH), h = std::to_string(LCD_HEIGHT);
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
           std::to_string(LCD_WIDTH * scale) + "\" height=\"" + std::to_string(LCD_HEIGHT * scale) +
           "\" viewBox=\"0 0 " + w + " " + h + "\" shape-rendering=\"crispEdges\"><rect width=\"" +
           w + "\" height=\"" + h + "\" fill=\"" + css_colour(LCD_COLOURS.unlit) +
           "\"/><path fill=\"" + css_colour(LCD_COLOURS.lit) + "\" d=\"" + path + "\"/></svg>";
}

} // namespace txm9
