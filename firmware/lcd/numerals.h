// The main display's large (22 x 32) and medium (18 x 24) numerals. Texts are formatted
// numbers: blanks, '+', '-', '.' and digits. Numerals only ever add ink.
#pragma once

#include <cstdint>

void lcd_digits_large(uint8_t x, uint8_t y, const char* text);
void lcd_digits_medium(uint8_t x, uint8_t y, const char* text);
