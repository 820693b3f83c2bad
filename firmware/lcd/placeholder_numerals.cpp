// Numerals and icons that do not exist yet draw nothing.
#include "icons.h"
#include "numerals.h"

void lcd_digits_large(uint8_t, uint8_t, const char*) {}
void lcd_digits_medium(uint8_t, uint8_t, const char*) {}
void lcd_icon(uint8_t) {}
