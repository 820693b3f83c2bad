// The instrument's 114 x 64 monochrome LCD as the firmware composes it: one byte per column
// and page of eight rows, bit 0 the page's top row, a set bit a dark pixel. Coordinates are
// 8-bit and wrap at 256; columns 114..255 and rows 64..255 are off the screen and dropped,
// so a position computed as a small negative number simply does not show.
#pragma once

#include <cstdint>

inline constexpr uint8_t LCD_WIDTH = 114;
inline constexpr uint8_t LCD_HEIGHT = 64;
inline constexpr uint8_t LCD_PAGES = 8;
inline constexpr uint16_t LCD_BUFFER_SIZE = LCD_WIDTH * LCD_PAGES; // 912 bytes

// Pixel write modes.
inline constexpr uint8_t PIXEL_CLEAR = 0;
inline constexpr uint8_t PIXEL_SET = 1;
inline constexpr uint8_t PIXEL_TOGGLE = 2;

// Pixel (x, y) is bit (y mod 8) of byte (y div 8) * 114 + x.
extern uint8_t lcd_buffer[LCD_BUFFER_SIZE];

// Selects row r of a page byte; every pixel reader and writer goes through it.
inline constexpr uint8_t pixel_bit_mask[8] = {1, 2, 4, 8, 16, 32, 64, 128};

void lcd_clear();

// The two pixel routines are inline: every picture on the screen is drawn through them, pixel
// by pixel, and a call apiece costs more than the write.

// 1 if the pixel is dark, else 0 (also 0 off the screen).
inline uint8_t lcd_get_pixel(uint8_t x, uint8_t y) {
    if (x >= LCD_WIDTH || y >= LCD_HEIGHT) {
        return 0;
    }
    return (lcd_buffer[(y / 8) * LCD_WIDTH + x] & pixel_bit_mask[y % 8]) != 0 ? 1 : 0;
}

// Clears, sets or toggles one pixel; off-screen points and other modes write nothing.
inline void lcd_put_pixel(uint8_t x, uint8_t y, uint8_t mode) {
    if (x >= LCD_WIDTH || y >= LCD_HEIGHT) {
        return;
    }
    uint8_t& byte = lcd_buffer[(y / 8) * LCD_WIDTH + x];
    const uint8_t mask = pixel_bit_mask[y % 8];
    switch (mode) {
    case PIXEL_CLEAR:
        byte &= static_cast<uint8_t>(~mask);
        break;
    case PIXEL_SET:
        byte |= mask;
        break;
    case PIXEL_TOGGLE:
        if (lcd_get_pixel(x, y) != 0) {
            byte &= static_cast<uint8_t>(~mask);
        } else {
            byte |= mask;
        }
        break;
    default:
        break;
    }
}

// Bresenham line from the first point to the second, both included.
void lcd_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t mode);
// Rectangle outline: left, top, right, bottom edge, each corner written twice.
void lcd_frame(uint8_t x0, uint8_t y0, uint8_t x1, uint8_t y1, uint8_t mode);
// Solid box over columns x0 .. x_end - 1 and rows y0 .. y1.
void lcd_fill(uint8_t x0, uint8_t y0, uint8_t x_end, uint8_t y1, uint8_t mode);
