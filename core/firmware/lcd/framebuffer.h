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

// 1 if the pixel is dark, else 0 (also 0 off the screen).
uint8_t lcd_get_pixel(uint8_t x, uint8_t y);
// Clears, sets or toggles one pixel; off-screen points and other modes write nothing.
void lcd_put_pixel(uint8_t x, uint8_t y, uint8_t mode);

// lcd_column for rows that wrap past 255 to the top: pixel by pixel.
void lcd_column_wrapping(uint8_t x, uint8_t y, uint8_t bits, uint8_t mode);

// Column x, rows y .. y + 7: the pixels whose bit is set in `bits` (bit 0 row y) are cleared
// or set by `mode` (other modes write nothing), the others stay. The same as lcd_put_pixel
// for each set bit, wrapping and dropping alike, but a page byte or two at a time. Inline:
// all text and numerals are drawn through it, and a call apiece costs as much as the write.
inline void lcd_column(uint8_t x, uint8_t y, uint8_t bits, uint8_t mode) {
    if (x >= LCD_WIDTH || bits == 0 || (mode != PIXEL_CLEAR && mode != PIXEL_SET)) {
        return;
    }
    if (y > 255 - 7) {
        lcd_column_wrapping(x, y, bits, mode);
        return;
    }
    const uint8_t page = y / 8;
    const uint8_t shift = y % 8;
    const auto write = [x, mode](uint8_t at_page, uint8_t mask) {
        if (at_page < LCD_PAGES && mask != 0) {
            uint8_t& byte = lcd_buffer[at_page * LCD_WIDTH + x];
            byte = mode == PIXEL_SET ? static_cast<uint8_t>(byte | mask)
                                     : static_cast<uint8_t>(byte & ~mask);
        }
    };
    write(page, static_cast<uint8_t>(bits << shift));
    if (shift != 0) {
        write(static_cast<uint8_t>(page + 1), static_cast<uint8_t>(bits >> (8 - shift)));
    }
}

// Bresenham line from the first point to the second, both included.
void lcd_line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t mode);
// Rectangle outline: left, top, right, bottom edge, each corner written twice.
void lcd_frame(uint8_t x0, uint8_t y0, uint8_t x1, uint8_t y1, uint8_t mode);
// Solid box over columns x0 .. x_end - 1 and rows y0 .. y1.
void lcd_fill(uint8_t x0, uint8_t y0, uint8_t x_end, uint8_t y1, uint8_t mode);
