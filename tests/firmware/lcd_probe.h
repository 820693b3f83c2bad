// Reading the frame buffer back in screen tests: pixels, runs of pixels and ASCII pictures
// of a region, so that a failure shows what was drawn next to what was expected.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "framebuffer.h"

// '#' for a dark pixel, '.' for a light one, one line per row from y0 to y1, columns x0..x1.
inline std::string lcd_region_art(int x0, int y0, int x1, int y1) {
    std::string art;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            art += lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) ? '#' : '.';
        }
        art += '\n';
    }
    return art;
}

// Joins picture rows given as separate literals into the form lcd_region_art returns.
template <typename... Rows> std::string art(const Rows&... rows) {
    std::string joined;
    ((joined += rows, joined += '\n'), ...);
    return joined;
}

// Number of dark pixels in columns x0..x1, rows y0..y1.
inline int lcd_count_set(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        }
    }
    return n;
}

// First and last dark row of column x within rows y0..y1; {-1, -1} when there is none.
struct row_span {
    int first, last;
};
inline row_span lcd_dark_rows(int x, int y0, int y1) {
    row_span span{-1, -1};
    for (int y = y0; y <= y1; ++y) {
        if (lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y))) {
            if (span.first < 0) {
                span.first = y;
            }
            span.last = y;
        }
    }
    return span;
}

using lcd_image = std::array<uint8_t, LCD_BUFFER_SIZE>;

// What `draw` alone puts on a blank screen; the screen under test is left as it was.
template <typename Draw> lcd_image lcd_render_alone(Draw draw) {
    lcd_image saved;
    std::memcpy(saved.data(), lcd_buffer, sizeof lcd_buffer);
    lcd_clear();
    draw();
    lcd_image drawn;
    std::memcpy(drawn.data(), lcd_buffer, sizeof lcd_buffer);
    std::memcpy(lcd_buffer, saved.data(), sizeof lcd_buffer);
    return drawn;
}

// Empty when columns x0..x1, rows y0..y1 of the screen match `expected` pixel for pixel;
// otherwise both pictures of the region.
inline std::string lcd_region_diff(const lcd_image& expected, int x0, int y0, int x1, int y1) {
    std::string want, got;
    bool same = true;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const bool e = (expected[(y / 8) * LCD_WIDTH + x] & pixel_bit_mask[y % 8]) != 0;
            const bool g = lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
            same = same && e == g;
            want += e ? '#' : '.';
            got += g ? '#' : '.';
        }
        want += '\n';
        got += '\n';
    }
    return same ? std::string() : "expected:\n" + want + "drawn:\n" + got;
}
