// Reads texts back out of lcd_buffer by matching the instrument's own glyphs and numerals,
// so that a check can say "the band at y = 9 reads 12.6 in large numerals" or "the screen
// shows LANG: FRANCAIS" instead of listing pixels.
//
//   lcd_text(0, 32, "LANG: FRANCAIS", 0, 1, 1);
//   find_text(32)                            -> {"LANG: FRANCAIS", 0, inverted}
//   read_text(48, 32, 8, text_shade::inverted)    -> "FRANCAIS"
//   lcd_digits_large(25, 9, "12.6");
//   find_texts(9, text_face::large_numerals)  -> {{"12.6", 25, plain}}
//   screen_shows("12.6")                     -> true
//
// A character cell matches a glyph only when every pixel of the cell agrees: for plain text
// the ink is dark and the rest of the cell light; for inverted text the other way round.
// Cells of the 8 x 8 font are 8 x 8 from the pen position (16 rows at double height); cells
// of the small font are its 5 x 7 box plus the blank sixth column, and inverted small
// characters also have the row above the box dark. A numeral's cell is as wide as it moves
// the pen (digits and blanks the full 22 or 18 columns, signs and the point less) and as tall
// as the face (32 or 24 rows); numerals are only ever read plain. Pixels off the screen read
// as light, so a cell cut by the screen's edge rarely matches. A slight glyph ('`', '-', '_',
// '.', ...) also has to stand whole, its ink touching nothing outside its cell but the
// characters beside it, or it would be read in pieces of larger letters, rules and pictures.
// A cell that matches no glyph reads as '?'.
//
// The reader works on the frame buffer as it is at the call; call it from the thread that
// runs the firmware. The first call for a numeral face draws its characters once into the
// frame buffer to learn them, and puts the buffer back as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace txm9 {

enum class text_face { normal, double_height, small, large_numerals, medium_numerals };
enum class text_shade { plain, inverted };

// A text found on one band: its characters, the column of its first cell, its shade.
struct screen_text {
    std::string text;
    uint8_t x = 0;
    bool inverted = false;
    bool operator==(const screen_text&) const = default;
};
// Prints e.g. "LANG: FRANCAIS" at x=0, inverted
std::ostream& operator<<(std::ostream& out, const screen_text& found);

// n characters of normal-height 8 x 8 text whose first cell has its top-left corner at (x, y).
std::string read_text(uint8_t x, uint8_t y, uint8_t n, text_shade shade = text_shade::plain);
// n characters of double-height 8 x 8 text (cells 8 x 16) from (x, y).
std::string read_double_text(uint8_t x, uint8_t y, uint8_t n, text_shade shade = text_shade::plain);
// n characters of small text drawn at (x, y): ink in rows y..y+6, 6 columns per character.
std::string read_small_text(uint8_t x, uint8_t y, uint8_t n, text_shade shade = text_shade::plain);

// Every text on the band of cells whose top row is y, left to right, found wherever it
// starts (centred texts included). A text is a row of matching cells, each starting where the
// one before moves the pen, all of one shade; plain blanks inside it read as spaces (so plain
// words on the same pitch merge into one text, as a person would read them), and plain
// blanks at its ends are dropped. A band with nothing readable gives an empty list.
std::vector<screen_text> find_texts(uint8_t y, text_face face = text_face::normal);
// The band's longest text (by visible characters), or an empty text at x=0 if there is none.
screen_text find_text(uint8_t y, text_face face = text_face::normal);

// A text found anywhere on the screen, with the face and band it was read in.
struct found_text {
    std::string text;
    text_face face = text_face::normal;
    uint8_t x = 0;
    uint8_t y = 0;
    bool inverted = false;
    bool operator==(const found_text&) const = default;
};
// "normal", "double height", "small", "large numerals" or "medium numerals".
const char* face_name(text_face face);
// Prints e.g. large numerals x=25 y=9 plain "12.6"
std::ostream& operator<<(std::ostream& out, const found_text& found);

// find_texts on every band in every face, top to bottom, then face by face, then left to
// right, less what says nothing: runs of blanks alone (a dark box reads as inverted spaces on
// every band inside it), and pieces of a longer text matched in a band or face it was not
// written in (the dot of a ':' alone in the band above it), that is texts whose dark pixels
// all lie within the cells of a text with more visible characters.
std::vector<found_text> find_all_texts();

// Whether `text` appears within the read text `run` without cutting through a word or a
// number: the characters on either side of each cut may not both be letters, both digits,
// or a digit and the decimal point of the same number. So "12.6" is in "12.6V" and in
// "12.6 V", but not in "112.6" or "12.65", and "VOLT" is not in "VOLTS". An empty text is
// in nothing.
bool text_contains(const std::string& run, const std::string& text);
// Whether some text read anywhere on the screen, in any face, contains `text` as
// text_contains has it, within that one text: a match never spans two texts or two bands.
// With `inverted` given, only texts of that shade count.
bool screen_shows(const std::string& text, std::optional<bool> inverted = {});
// One line per text find_all_texts reads, as found_text prints, or "no readable text".
std::string describe_screen_texts();

} // namespace txm9
