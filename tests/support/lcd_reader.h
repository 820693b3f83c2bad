// The product's text reader (lcd_text_reader.h) with GoogleTest assertions on top, so that
// a screen test can say "the band at y = 32 reads LANG: FRANCAIS, inverted" and, when it does
// not, see what the band holds and its pixels.
//
//   lcd_text(0, 32, "LANG: FRANCAIS", 0, 1, 1);
//   EXPECT_EQ(find_text(32), (ScreenText{"LANG: FRANCAIS", 0, true}));
//   EXPECT_TRUE(band_reads(32, "LANG: FRANCAIS", Shade::inverted));
//   EXPECT_TRUE(band_shows(32, {inverted("LANG: FRANCAIS")}));
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lcd_reader/lcd_text_reader.h"

using namespace txm9;

inline ScreenText plain(const std::string& text, uint8_t x = 0) {
    return {text, x, false};
}
inline ScreenText inverted(const std::string& text, uint8_t x = 0) {
    return {text, x, true};
}

// Succeeds when one of the texts on the band at y is exactly `text` in the given shade; the
// failure message lists what the band holds instead and shows the band's pixels.
testing::AssertionResult band_reads(uint8_t y, const std::string& text, Shade shade = Shade::plain,
                                    TextFace face = TextFace::normal);
// Succeeds when the band at y holds exactly these texts, left to right, and nothing else.
testing::AssertionResult band_shows(uint8_t y, const std::vector<ScreenText>& expected,
                                    TextFace face = TextFace::normal);
