// The sheet of the display's 32 x 32 pictures: 128 x 64 pixels in the LCD's page layout,
// 128 bytes per page row (page row r, column c at 128 r + c), four cells across the top half
// and four across the bottom half.
#pragma once

#include <array>
#include <cstdint>

// Cells, top half left to right: large battery cell, leave the menu, tools, screen with a sine
// wave; bottom half: question mark, exclamation mark, small battery cell, television.
extern const std::array<uint8_t, 1024> icon_sheet;
