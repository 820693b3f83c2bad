// The bitmaps of the main display's two numeral faces, in the LCD's page layout (bit 0 of a
// byte the top row of its page). Only the digits are bitmaps; blanks, signs and the decimal
// point are drawn with lines.
#pragma once

#include <array>
#include <cstdint>

// 22 x 32 cells for character codes 45..57: code c at 88 (c - 45), page p column k at 22 p + k.
// The cells of '-', '.' and '/' are blank; each digit's ink lies in rows 0..29.
extern const std::array<uint8_t, 1144> numerals_large;

// 18 x 24 digits '0'..'9' in 3 page rows of 180 bytes: page p of digit d at 180 p + 18 d.
// Each digit's ink lies in rows 0..22.
extern const std::array<uint8_t, 540> numerals_medium;
