// Artwork drawn as text in the source, '#' for a dark pixel and '.' for a blank one, one row
// of characters per pixel row. These compile-time helpers check a drawing and pack it into the
// LCD's page layout: one byte per column and page of eight rows, bit 0 the page's top row.
#pragma once

#include <cstddef>
#include <cstdint>

#include "firmware/lcd/framebuffer.h"

// True when the drawing has exactly `width` characters in every row, each '#' or '.'.
template <std::size_t Rows>
constexpr bool art_is_well_formed(const char* const (&rows)[Rows], std::size_t width) {
    for (const char* row : rows) {
        if (row == nullptr) {
            return false;
        }
        std::size_t length = 0;
        for (; row[length] != '\0'; ++length) {
            if (row[length] != '#' && row[length] != '.') {
                return false;
            }
        }
        if (length != width) {
            return false;
        }
    }
    return true;
}

// True when every drawing of a set is well formed.
template <std::size_t Count, std::size_t Rows>
constexpr bool all_art_well_formed(const char* const (&set)[Count][Rows], std::size_t width) {
    for (const auto& rows : set) {
        if (!art_is_well_formed(rows, width)) {
            return false;
        }
    }
    return true;
}

// The page byte of rows 8 * page .. 8 * page + 7 at `column` of the drawing.
template <std::size_t Rows>
constexpr uint8_t art_page_byte(const char* const (&rows)[Rows], std::size_t page,
                                std::size_t column) {
    uint8_t byte = 0;
    for (std::size_t bit = 0; bit < 8; ++bit) {
        if (rows[8 * page + bit][column] == '#') {
            byte |= pixel_bit_mask[bit];
        }
    }
    return byte;
}
