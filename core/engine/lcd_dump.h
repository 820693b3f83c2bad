// The frame buffer as ASCII art for failure messages: '#' a dark pixel, '.' a light one, one
// line per pixel row with its row number in front, and column rulers (hundreds, tens, units)
// on top, so that a pixel can be located by eye.
#pragma once

#include <cstdint>
#include <string>

namespace txm9 {

// The whole 114 x 64 screen.
std::string lcd_dump();
// Rows first..last inclusive (clamped to the screen), e.g. one text band.
std::string lcd_dump_rows(uint8_t first, uint8_t last);

} // namespace txm9
