// Text on the LCD: the bold 8 x 8 font (normal or double height, optionally inverted) and
// the small 5 x 7 font on a 6-column pitch, plus the title band and the setup list rows.
// Pen positions are 8-bit and wrap at 256, so a text may slide in from either edge.
#pragma once

#include <cstdint>

// 8 x 8 text from (x, y). double_height 1: 16 rows tall, ink cleared (mode 0) or set
// (mode 1), inverse ignored. Otherwise normal height: inverse 1 paints light letters in a
// dark 8 x 8 band, any other value only adds ink; mode is ignored.
void lcd_text(uint8_t x, uint8_t y, const char* text, uint8_t double_height, uint8_t mode,
              uint8_t inverse);
// lcd_text centred on column x.
void lcd_text_centred(uint8_t x, uint8_t y, const char* text, uint8_t double_height, uint8_t mode,
                      uint8_t inverse);
// Small text from (x, y), ink in rows y..y+6; characters from index inverse_from on are
// inverted over rows y-1..y+6.
void lcd_small_text(uint8_t x, uint8_t y, const char* text, uint8_t inverse_from);
// lcd_small_text centred on column x.
void lcd_small_text_centred(uint8_t x, uint8_t y, const char* text, uint8_t inverse_from);
// Screen title centred on column 57 in rows 0..7, with a rule at row 4 on either side.
void lcd_title(const char* text);
// lcd_text at normal height, but never over the title band (rows 0..7).
void lcd_list_text(uint8_t x, uint8_t y, const char* text, uint8_t inverse);
