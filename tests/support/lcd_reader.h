// The product's text reader (lcd_text_reader.h) with GoogleTest assertions on top, so that
// a screen test can say "the band at y = 32 reads LANG: FRANCAIS, inverted" and, when it does
// not, see what the band holds and its pixels.
//
//   lcd_text(0, 32, "LANG: FRANCAIS", 0, 1, 1);
//   EXPECT_EQ(find_text(32), (screen_text{"LANG: FRANCAIS", 0, true}));
//   EXPECT_TRUE(band_reads(32, "LANG: FRANCAIS", text_shade::inverted));
//   EXPECT_TRUE(band_shows(32, {inverted("LANG: FRANCAIS")}));
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lcd_reader/lcd_text_reader.h"

using namespace txm9;

inline screen_text plain(const std::string& text, uint8_t x = 0) {
    return {text, x, false};
}
inline screen_text inverted(const std::string& text, uint8_t x = 0) {
    return {text, x, true};
}

// Succeeds when one of the texts on the band at y is exactly `text` in the given shade; the
// failure message lists what the band holds instead and shows the band's pixels.
testing::AssertionResult band_reads(uint8_t y, const std::string& text,
                                    text_shade shade = text_shade::plain,
                                    text_face face = text_face::normal);
// Succeeds when the band at y holds exactly these texts, left to right, and nothing else.
testing::AssertionResult band_shows(uint8_t y, const std::vector<screen_text>& expected,
                                    text_face face = text_face::normal);
