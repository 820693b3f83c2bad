// Text routines that do not exist yet draw nothing.
#include "text.h"

void lcd_text(uint8_t, uint8_t, const char*, uint8_t, uint8_t, uint8_t) {}
void lcd_text_centred(uint8_t, uint8_t, const char*, uint8_t, uint8_t, uint8_t) {}
void lcd_small_text(uint8_t, uint8_t, const char*, uint8_t) {}
void lcd_small_text_centred(uint8_t, uint8_t, const char*, uint8_t) {}
void lcd_title(const char*) {}
void lcd_list_text(uint8_t, uint8_t, const char*, uint8_t) {}
void menu_row(uint8_t, uint8_t, const char*, const char*) {}
