#include "lcd_reader/reader_faces.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

#include "firmware/lcd/fonts.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/numerals.h"
#include "lcd_reader/lcd_snapshot.h"

namespace txm9 {

namespace {

int ink_count(const std::vector<uint32_t>& ink) {
    int n = 0;
    for (uint32_t column : ink) {
        n += std::popcount(column);
    }
    return n;
}

// The lowest row of the glyph's ink, or -1 if it has none.
int bottom_row(const reader_glyph& g) {
    uint32_t all = 0;
    for (uint32_t column : g.ink) {
        all |= column;
    }
    return std::bit_width(all) - 1;
}

// Notes the widest and narrowest glyph, whether some glyph is ink from edge to edge and how
// low a band can still hold a glyph's ink, and builds the look-ups. An inverted cell shows
// even when the screen's edge cuts it, its cut-off rows reading light.
void index_glyphs(reader_font& face) {
    const uint32_t full = face.height >= 32 ? ~0u : (1u << face.height) - 1;
    face.key_columns = face.glyphs.front().advance;
    face.last_band = face.invertible ? LCD_HEIGHT - 1 : 0;
    for (const reader_glyph& g : face.glyphs) {
        if (bottom_row(g) >= 0) {
            face.last_band =
                std::max(face.last_band, static_cast<uint8_t>(LCD_HEIGHT - 1 - bottom_row(g)));
        }
        face.some_glyph_fills_its_cell =
            face.some_glyph_fills_its_cell ||
            std::all_of(g.ink.begin(), g.ink.end(), [&](uint32_t c) { return c == full; });
        face.widest = std::max(face.widest, g.advance);
        face.key_columns = std::min(face.key_columns, g.advance);
    }
    face.by_key.assign(std::bit_ceil(4 * face.glyphs.size()), -1);
    for (std::size_t i = 0; i < face.glyphs.size(); ++i) {
        reader_glyph& g = face.glyphs[i];
        g.key = cell_key(g.ink.data(), face.key_columns);
        face.filter.set(filter_slot(face, g.ink.data()));
        std::size_t slot = g.key & (face.by_key.size() - 1);
        while (face.by_key[slot] >= 0) {
            slot = (slot + 1) & (face.by_key.size() - 1);
        }
        face.by_key[slot] = static_cast<int16_t>(i);
    }
}

// The 8 x 8 font, at normal or double height: bit r of a glyph byte is the glyph's row r,
// drawn as rows 2r and 2r + 1 at double height.
reader_font font_8x8_face(bool double_height) {
    reader_font face{
        .height = static_cast<uint8_t>(double_height ? 16 : 8), .pitch = 8, .invertible = true};
    for (int code = FONT_FIRST_CODE; code <= FONT_8X8_LAST_CODE; ++code) {
        reader_glyph g{static_cast<char>(code), 8, false, {}, 0};
        int single_ink = 0;
        for (int k = 0; k < 8; ++k) {
            const uint8_t byte = font_8x8[(code - FONT_FIRST_CODE) * 8 + k];
            single_ink += std::popcount(byte);
            uint32_t column = byte;
            if (double_height) {
                column = 0;
                for (int r = 0; r < 8; ++r) {
                    column |= (byte & pixel_bit_mask[r]) != 0 ? 3u << (2 * r) : 0;
                }
            }
            g.ink.push_back(column);
        }
        g.slight = 4 * single_ink <= 8 * 8;
        face.glyphs.push_back(std::move(g));
    }
    index_glyphs(face);
    return face;
}

// The small font: bit 6 of a glyph byte is the top row of its 5 x 7 box, bit 0 the bottom
// row; the sixth column is the gap to the next character. Slightness counts the box only.
reader_font small_face() {
    reader_font face{.height = 7, .pitch = 6, .invertible = true, .dark_row_above = true};
    for (int code = FONT_FIRST_CODE; code <= FONT_SMALL_LAST_CODE; ++code) {
        reader_glyph g{static_cast<char>(code), 6, false, {}, 0};
        for (int k = 0; k < 6; ++k) {
            const uint8_t byte = k < 5 ? font_small[(code - FONT_FIRST_CODE) * 5 + k] : 0;
            uint32_t column = 0;
            for (int r = 0; r < 7; ++r) {
                column |= (byte >> (6 - r) & 1u) << r;
            }
            g.ink.push_back(column);
        }
        g.slight = 4 * ink_count(g.ink) <= 5 * 7;
        face.glyphs.push_back(std::move(g));
    }
    index_glyphs(face);
    return face;
}

using NumeralRoutine = void (*)(uint8_t, uint8_t, const char*);

// Columns 0..width-1, rows 0..height-1 of `text` drawn alone at the top-left corner.
std::vector<uint32_t> drawn_alone(NumeralRoutine draw, const std::string& text, int width,
                                  int height) {
    lcd_clear();
    draw(0, 0, text.c_str());
    const lcd_snapshot lcd;
    std::vector<uint32_t> columns;
    for (int x = 0; x < width; ++x) {
        columns.push_back(lcd.rows(x, 0, height));
    }
    return columns;
}

// A numeral face learnt from its drawing routine: each character's ink as it draws it, and
// its advance as where an '8' drawn after it lands.
reader_font numeral_face(NumeralRoutine draw, int cell_width, int height) {
    uint8_t saved[LCD_BUFFER_SIZE];
    std::memcpy(saved, lcd_buffer, sizeof saved);

    reader_font face{.height = static_cast<uint8_t>(height)};
    const std::vector<uint32_t> eight = drawn_alone(draw, "8", cell_width, height);
    const int eight_left = static_cast<int>(
        std::find_if(eight.begin(), eight.end(), [](uint32_t c) { return c != 0; }) -
        eight.begin());
    for (char code : std::string(" +-.0123456789")) {
        std::vector<uint32_t> ink = drawn_alone(draw, std::string(1, code), 2 * cell_width, height);
        const std::vector<uint32_t> followed =
            drawn_alone(draw, std::string{code, '8'}, 2 * cell_width, height);
        const auto first_change = std::mismatch(ink.begin(), ink.end(), followed.begin()).first;
        const int advance = static_cast<int>(first_change - ink.begin()) - eight_left;
        ink.resize(static_cast<std::size_t>(advance));
        const bool slight = 4 * ink_count(ink) <= advance * height;
        face.glyphs.push_back({code, static_cast<uint8_t>(advance), slight, std::move(ink), 0});
    }
    index_glyphs(face);

    std::memcpy(lcd_buffer, saved, sizeof saved);
    return face;
}

} // namespace

uint64_t cell_key(const uint32_t* columns, int n) {
    uint64_t key = 14695981039346656037u;
    for (int k = 0; k < n; ++k) {
        key = (key ^ columns[k]) * 1099511628211u;
    }
    return key;
}

const reader_font& reader_face(text_face face) {
    switch (face) {
    case text_face::double_height: {
        static const reader_font double_height = font_8x8_face(true);
        return double_height;
    }
    case text_face::small: {
        static const reader_font small = small_face();
        return small;
    }
    // The numerals' cells are 22 x 32 and 18 x 24 (numerals.h).
    case text_face::large_numerals: {
        static const reader_font large = numeral_face(lcd_digits_large, 22, 32);
        return large;
    }
    case text_face::medium_numerals: {
        static const reader_font medium = numeral_face(lcd_digits_medium, 18, 24);
        return medium;
    }
    case text_face::normal:
        break;
    }
    static const reader_font normal = font_8x8_face(false);
    return normal;
}

} // namespace txm9
