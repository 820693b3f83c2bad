// The main display's numerals. A digit is copied from its bitmap pixel by pixel; the minus
// and plus signs and the decimal point are short lines, so they need no cells and keep their
// exact places against the digits: the point on the digits' bottom row, the bar across their
// middle. Everything is drawn in set mode, so a reading can sit on an inverted band.
#include "firmware/lcd/numerals.h"

#include <bit>
#include <cstddef>
#include <iterator>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/numeral_tables.h"

namespace {

// One line of a sign, relative to the pen column and the top row.
struct Stroke {
    uint8_t x0, y0, x1, y1;
};

// A sign drawn with lines, and how far it moves the pen.
struct Sign {
    char code;
    uint8_t advance;
    uint8_t stroke_count;
    Stroke strokes[8];
};

// A numeral face: where its digit bitmaps lie and how its signs are drawn.
struct Face {
    const uint8_t* zero;     // the first byte of the '0' cell
    std::size_t digit_step;  // from one digit's cell to the next
    std::size_t page_stride; // from one page of a cell to the next
    uint8_t columns;         // cell width, also the advance of digits and blanks
    uint8_t pages;           // cell height in pages of eight rows
    const Sign* signs;
    std::size_t sign_count;
};

// clang-format off
constexpr Sign large_signs[] = {
    {'-', 14, 4, {{0, 13, 11, 13}, {0, 14, 11, 14}, {0, 15, 11, 15}, {0, 16, 11, 16}}},
    {'+', 14, 8, {{4, 9, 4, 20}, {5, 9, 5, 20}, {6, 9, 6, 20}, {7, 9, 7, 20},
                  {0, 13, 11, 13}, {0, 14, 11, 14}, {0, 15, 11, 15}, {0, 16, 11, 16}}},
    // A 5 x 4 block with its corners cut off, resting on the digits' bottom row.
    {'.', 12, 5, {{2, 27, 2, 28}, {3, 26, 3, 29}, {4, 26, 4, 29}, {5, 26, 5, 29},
                  {6, 27, 6, 28}}},
};

constexpr Sign medium_signs[] = {
    {'-', 12, 3, {{0, 9, 8, 9}, {0, 10, 8, 10}, {0, 11, 8, 11}}},
    // The upright reaches three rows above and below the bar, as the large plus does four.
    {'+', 12, 7, {{3, 6, 3, 14}, {4, 6, 4, 14}, {5, 6, 5, 14}, {6, 6, 6, 14},
                  {0, 9, 8, 9}, {0, 10, 8, 10}, {0, 11, 8, 11}}},
    // A 4 x 4 block with its corners cut off.
    {'.', 12, 4, {{3, 20, 3, 21}, {4, 19, 4, 22}, {5, 19, 5, 22}, {6, 20, 6, 21}}},
};
// clang-format on

const Face large_face = {
    .zero = &numerals_large[88 * ('0' - 45)],
    .digit_step = 88,
    .page_stride = 22,
    .columns = 22,
    .pages = 4,
    .signs = large_signs,
    .sign_count = std::size(large_signs),
};

const Face medium_face = {
    .zero = &numerals_medium[0],
    .digit_step = 18,
    .page_stride = 180,
    .columns = 18,
    .pages = 3,
    .signs = medium_signs,
    .sign_count = std::size(medium_signs),
};

void draw_digit(const Face& face, uint8_t x, uint8_t y, const uint8_t* cell) {
    for (uint8_t page = 0; page < face.pages; ++page) {
        for (uint8_t column = 0; column < face.columns; ++column) {
            // Only the ink bits are visited, lowest row first.
            for (uint8_t ink = cell[face.page_stride * page + column]; ink != 0;
                 ink = static_cast<uint8_t>(ink & (ink - 1))) {
                const auto bit = static_cast<uint8_t>(std::countr_zero(ink));
                lcd_put_pixel(static_cast<uint8_t>(x + column),
                              static_cast<uint8_t>(y + 8 * page + bit), PIXEL_SET);
            }
        }
    }
}

void draw_sign(const Sign& sign, uint8_t x, uint8_t y) {
    for (uint8_t i = 0; i < sign.stroke_count; ++i) {
        const Stroke& s = sign.strokes[i];
        lcd_line(x + s.x0, y + s.y0, x + s.x1, y + s.y1, PIXEL_SET);
    }
}

const Sign* find_sign(const Face& face, char code) {
    for (std::size_t i = 0; i < face.sign_count; ++i) {
        if (face.signs[i].code == code) {
            return &face.signs[i];
        }
    }
    return nullptr;
}

// Characters that are neither digits, blanks nor signs draw nothing and leave the pen where
// it is; the readings never contain them.
void draw_numerals(const Face& face, uint8_t x, uint8_t y, const char* text) {
    for (; *text != '\0'; ++text) {
        const char code = *text;
        if (code >= '0' && code <= '9') {
            draw_digit(face, x, y,
                       face.zero + face.digit_step * static_cast<std::size_t>(code - '0'));
            x = static_cast<uint8_t>(x + face.columns);
        } else if (code == ' ') {
            x = static_cast<uint8_t>(x + face.columns);
        } else if (const Sign* sign = find_sign(face, code)) {
            draw_sign(*sign, x, y);
            x = static_cast<uint8_t>(x + sign->advance);
        }
    }
}

} // namespace

void lcd_digits_large(uint8_t x, uint8_t y, const char* text) {
    draw_numerals(large_face, x, y, text);
}

void lcd_digits_medium(uint8_t x, uint8_t y, const char* text) {
    draw_numerals(medium_face, x, y, text);
}
