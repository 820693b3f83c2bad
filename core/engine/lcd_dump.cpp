#include "engine/lcd_dump.h"

#include <cstdio>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

std::string lcd_dump() {
    return lcd_dump_rows(0, LCD_HEIGHT - 1);
}

std::string lcd_dump_rows(uint8_t first, uint8_t last) {
    if (last >= LCD_HEIGHT) {
        last = LCD_HEIGHT - 1;
    }
    std::string out;
    for (int divisor : {100, 10, 1}) {
        out += "    ";
        for (int x = 0; x < LCD_WIDTH; ++x) {
            out += divisor > 1 && x < divisor ? ' ' : static_cast<char>('0' + x / divisor % 10);
        }
        out += '\n';
    }
    for (int y = first; y <= last; ++y) {
        char number[16]; // wide enough for any int: no row number is ever cut short
        std::snprintf(number, sizeof number, "%2d  ", y);
        out += number;
        for (int x = 0; x < LCD_WIDTH; ++x) {
            out += lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0 ? '#' : '.';
        }
        out += '\n';
    }
    return out;
}

} // namespace txm9
