// The instrument's two fonts as the text routines read them.
#pragma once

#include <array>
#include <cstdint>

inline constexpr uint8_t FONT_FIRST_CODE = 32;

// Bold 8 x 8 font: codes 32..126 for the texts, then 127 a wave sign and 128..131 the unit
// pairs "Ah", "Hz", "dB", "kV" in small letters. The glyph for code c is the 8 bytes at
// (c - 32) * 8, one per column from the left; bit r (pixel_bit_mask[r]) is row r from the
// top. '{' and '}' are the up and down arrows, '|' a degree ring, '~' the knob symbol.
inline constexpr uint8_t FONT_8X8_LAST_CODE = 131;
extern const std::array<uint8_t, 800> font_8x8;

// Small 5 x 7 font on a 6-column pitch: codes 32..126, then 127 omega and 128..130 the up,
// down and up-down arrows. The glyph for code c is the 5 bytes at (c - 32) * 5, one per
// column from the left; bit 7 is the row above the box and always clear, bit 6 the top row
// of the box, bit 0 its bottom row. '|' is a degree ring, '}' omega, '~' a small chevron.
inline constexpr uint8_t FONT_SMALL_LAST_CODE = 130;
extern const std::array<uint8_t, 495> font_small;
