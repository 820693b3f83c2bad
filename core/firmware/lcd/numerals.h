// The main display's large (22 x 32) and medium (18 x 24) numerals. Texts are formatted
// numbers: blanks, '+', '-', '.' and digits; any other character draws nothing and leaves
// the pen where it is. Numerals only ever add ink, and the pen column wraps at 256.
#pragma once

#include <cstdint>

void lcd_digits_large(uint8_t x, uint8_t y, const char* text);
void lcd_digits_medium(uint8_t x, uint8_t y, const char* text);
