// Turns glyphs drawn as ASCII art ('#' ink, '.' background, one string per pixel row) into
// the byte tables the text routines read, at compile time. A glyph out of order, a row of the
// wrong width or a stray character stops the build with the name of the fault.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "firmware/lcd/framebuffer.h"

// One glyph: its character code and its pixel rows from the top.
template <std::size_t Rows> struct GlyphArt {
    int code;
    const char* rows[Rows];
};

// Reaching one of these in a constant evaluation makes it fail, naming the fault.
void glyph_art_out_of_order();
void glyph_art_row_has_wrong_width();
void glyph_art_has_stray_character();

namespace glyph_art_detail {

template <std::size_t Rows, std::size_t N>
consteval void check_art(const GlyphArt<Rows> (&art)[N], int first_code, std::size_t width) {
    for (std::size_t g = 0; g < N; ++g) {
        if (art[g].code != first_code + static_cast<int>(g)) {
            glyph_art_out_of_order();
        }
        for (std::size_t r = 0; r < Rows; ++r) {
            const char* row = art[g].rows[r];
            std::size_t length = 0;
            while (row[length] != '\0') {
                if (row[length] != '#' && row[length] != '.') {
                    glyph_art_has_stray_character();
                }
                ++length;
            }
            if (length != width) {
                glyph_art_row_has_wrong_width();
            }
        }
    }
}

} // namespace glyph_art_detail

// 8 x 8 glyphs, codes from first_code on: 8 column bytes per glyph, left to right, bit r
// (through pixel_bit_mask) the glyph's row r, row 0 at the top.
template <std::size_t N>
consteval std::array<uint8_t, N * 8> pack_font_8x8(const GlyphArt<8> (&art)[N], int first_code) {
    glyph_art_detail::check_art(art, first_code, 8);
    std::array<uint8_t, N * 8> bytes{};
    for (std::size_t g = 0; g < N; ++g) {
        for (std::size_t k = 0; k < 8; ++k) {
            uint8_t column = 0;
            for (std::size_t r = 0; r < 8; ++r) {
                if (art[g].rows[r][k] == '#') {
                    column |= pixel_bit_mask[r];
                }
            }
            bytes[g * 8 + k] = column;
        }
    }
    return bytes;
}

// 5 x 7 glyphs, codes from first_code on: 5 column bytes per glyph, left to right, the top
// row in bit 6 down to the bottom row in bit 0; bit 7, the row above the box, stays clear.
template <std::size_t N>
consteval std::array<uint8_t, N * 5> pack_font_small(const GlyphArt<7> (&art)[N], int first_code) {
    glyph_art_detail::check_art(art, first_code, 5);
    std::array<uint8_t, N * 5> bytes{};
    for (std::size_t g = 0; g < N; ++g) {
        for (std::size_t k = 0; k < 5; ++k) {
            uint8_t column = 0;
            for (std::size_t r = 0; r < 7; ++r) {
                if (art[g].rows[r][k] == '#') {
                    column |= pixel_bit_mask[6 - r];
                }
            }
            bytes[g * 5 + k] = column;
        }
    }
    return bytes;
}
