#include "firmware/lcd/framebuffer.h"

#include <cstdlib>
#include <cstring>

uint8_t lcd_buffer[LCD_BUFFER_SIZE];

void lcd_clear() {
    std::memset(lcd_buffer, 0, sizeof lcd_buffer);
}

namespace {

// Each point is reduced to its low 8 bits, so x = -2 lands on column 254 and is dropped.
void plot(int32_t x, int32_t y, uint8_t mode) {
    lcd_put_pixel(static_cast<uint8_t>(x & 0xFF), static_cast<uint8_t>(y & 0xFF), mode);
}

} // namespace

void lcd_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t mode) {
    // The walk always starts at the first point and a tie steps only the major axis, so a
    // line and its reverse may light different pixels. Callers' coordinates are small, so
    // the differences and decision values cannot overflow.
    const int32_t dx = std::abs(x1 - x0);
    const int32_t dy = std::abs(y1 - y0);
    const int32_t sx = x0 > x1 ? -1 : 1;
    const int32_t sy = y0 > y1 ? -1 : 1;
    int32_t x = x0;
    int32_t y = y0;

    if (dx >= dy) {
        int32_t d = 2 * dy - dx;
        for (int32_t i = 0; i <= dx; ++i) {
            plot(x, y, mode);
            if (d > 0) {
                y += sy;
                d += 2 * dy - 2 * dx;
            } else {
                d += 2 * dy;
            }
            x += sx;
        }
    } else {
        int32_t d = 2 * dx - dy;
        for (int32_t i = 0; i <= dy; ++i) {
            plot(x, y, mode);
            if (d > 0) {
                x += sx;
                d += 2 * dx - 2 * dy;
            } else {
                d += 2 * dx;
            }
            y += sy;
        }
    }
}

void lcd_frame(uint8_t x0, uint8_t y0, uint8_t x1, uint8_t y1, uint8_t mode) {
    lcd_line(x0, y0, x0, y1, mode);
    lcd_line(x0, y0, x1, y0, mode);
    lcd_line(x1, y0, x1, y1, mode);
    lcd_line(x0, y1, x1, y1, mode);
}

void lcd_fill(uint8_t x0, uint8_t y0, uint8_t x_end, uint8_t y1, uint8_t mode) {
    for (uint8_t x = x0; x < x_end; ++x) {
        lcd_line(x, y0, x, y1, mode);
    }
}
