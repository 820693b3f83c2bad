// What the reader compares a screen cell with, face by face: each character's cell width and
// ink, taken from the firmware's own font tables and numeral drawing routines.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "lcd_reader/lcd_text_reader.h"

namespace txm9 {

// Slots of a face's quick filter (see filter_slot).
inline constexpr std::size_t FILTER_SLOTS = 1 << 14;

// One character of a face.
struct reader_glyph {
    char code;
    uint8_t advance;           // the cell's width: how far the character moves the pen
    bool slight;               // a quarter of its cell inked or less
    std::vector<uint32_t> ink; // one entry per column of the cell, bit r the cell's row r
    uint64_t key = 0;          // cell_key of the ink's first key_columns columns
};

// A face as the reader matches it.
struct reader_font {
    uint8_t height = 0;                     // rows of a cell, from the band's top row down
    uint8_t pitch = 0;                      // every glyph's advance, or 0 where they differ
    bool invertible = false;                // also written light on a dark band
    bool dark_row_above = false;            // an inverted cell also darkens the row above it
    bool some_glyph_fills_its_cell = false; // so an inverted cell might hold no ink at all
    uint8_t widest = 0;                     // the largest advance
    uint8_t key_columns = 0;                // the smallest advance
    uint8_t last_band = 0;                  // the lowest band top where some text can be read
    std::vector<reader_glyph> glyphs{};     // in code order, the blank first
    // By filter_slot: whether some glyph's first, middle and last key columns hash there.
    std::bitset<FILTER_SLOTS> filter{};
    // Glyph indices open-addressed by key, in code order along each probe; -1 a free slot.
    std::vector<int16_t> by_key{};
};

// The face's table, built on first use (the numeral faces by drawing each character once
// into the frame buffer, which is put back as it was).
const reader_font& reader_face(text_face face);

// A hash of a cell's first n columns for looking its glyph up; equal cells give equal keys.
uint64_t cell_key(const uint32_t* columns, int n);

// A quick test before the look-up: most cells on a screen have first, middle and last key
// columns that no glyph has, and are turned away here.
inline std::size_t filter_slot(const reader_font& face, const uint32_t* columns) {
    const uint32_t mix = columns[0] * 2654435761u ^ columns[face.key_columns / 2] * 2246822519u ^
                         columns[face.key_columns - 1] * 3266489917u;
    return mix >> 18;
}

} // namespace txm9
