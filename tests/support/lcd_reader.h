// Reads texts back out of lcd_buffer by matching the instrument's own glyphs, so that a
// screen test can say "the band at y = 32 reads LANG: FRANCAIS, inverted" instead of
// listing pixels.
//
//   lcd_text(0, 32, "LANG: FRANCAIS", 0, 1, 1);
//   EXPECT_EQ(find_text(32), (ScreenText{"LANG: FRANCAIS", 0, true}));
//   EXPECT_TRUE(band_reads(32, "LANG: FRANCAIS", Shade::inverted));
//   EXPECT_TRUE(band_shows(32, {inverted("LANG: FRANCAIS")}));
//   EXPECT_EQ(read_text(48, 32, 8, Shade::inverted), "FRANCAIS");
//
// A character cell matches a glyph only when every pixel of the cell agrees: for plain text
// the ink is dark and the rest of the cell light; for inverted text the other way round.
// Cells of the 8 x 8 font are 8 x 8 from the pen position (16 rows at double height); cells
// of the small font are its 5 x 7 box plus the blank sixth column, and inverted small
// characters also have the row above the box dark. Pixels off the screen read as light, so
// a cell cut by the screen's edge rarely matches. A slight glyph ('`', '-', '_', '.', ...)
// also has to stand whole, its ink touching nothing outside its cell but the characters
// beside it, or it would be read in pieces of larger letters, rules and pictures. A cell
// that matches no glyph reads as '?'.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

enum class TextFace { normal, double_height, small };
enum class Shade { plain, inverted };

// A text found on the screen: its characters, the column of its first cell, its shade.
struct ScreenText {
    std::string text;
    uint8_t x = 0;
    bool inverted = false;
    bool operator==(const ScreenText&) const = default;
};
// Prints e.g. "LANG: FRANCAIS" at x=0, inverted
std::ostream& operator<<(std::ostream& out, const ScreenText& found);

inline ScreenText plain(const std::string& text, uint8_t x = 0) {
    return {text, x, false};
}
inline ScreenText inverted(const std::string& text, uint8_t x = 0) {
    return {text, x, true};
}

// n characters of normal-height 8 x 8 text whose first cell has its top-left corner at (x, y).
std::string read_text(uint8_t x, uint8_t y, uint8_t n, Shade shade = Shade::plain);
// n characters of double-height 8 x 8 text (cells 8 x 16) from (x, y).
std::string read_double_text(uint8_t x, uint8_t y, uint8_t n, Shade shade = Shade::plain);
// n characters of small text drawn at (x, y): ink in rows y..y+6, 6 columns per character.
std::string read_small_text(uint8_t x, uint8_t y, uint8_t n, Shade shade = Shade::plain);

// Every text on the band of cells whose top row is y, left to right, found wherever it
// starts (centred texts included). A text is a row of matching cells on one pitch and of one
// shade; plain blanks inside it read as spaces (so plain words on the same pitch merge into
// one text, as a person would read them), and plain blanks at its ends are dropped. A band
// with nothing readable gives an empty list.
std::vector<ScreenText> find_texts(uint8_t y, TextFace face = TextFace::normal);
// The band's longest text (by visible characters), or an empty text at x=0 if there is none.
ScreenText find_text(uint8_t y, TextFace face = TextFace::normal);

// Succeeds when one of the texts on the band at y is exactly `text` in the given shade; the
// failure message lists what the band holds instead and shows the band's pixels.
testing::AssertionResult band_reads(uint8_t y, const std::string& text, Shade shade = Shade::plain,
                                    TextFace face = TextFace::normal);
// Succeeds when the band at y holds exactly these texts, left to right, and nothing else.
testing::AssertionResult band_shows(uint8_t y, const std::vector<ScreenText>& expected,
                                    TextFace face = TextFace::normal);
