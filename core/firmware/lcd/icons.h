// The 32 x 32 pictures of the icon sheet, copied whole bytes at a time to fixed places.
#pragma once

#include <cstdint>

// Copies picture `index` (0..9) to its place on the screen, replacing the bytes beneath;
// a larger index draws nothing.
void lcd_icon(uint8_t index);
