#include "lcd_reader.h"

#include <algorithm>
#include <bit>

#include "fonts.h"
#include "framebuffer.h"
#include "lcd_dump.h"
#include "lcd_pixels.h"

namespace {

struct FaceLayout {
    int width;     // columns compared per cell
    int pitch;     // columns from one character to the next
    int last_code; // last glyph in the font's table
    uint32_t mask; // the bits of a column that belong to the cell
};

FaceLayout layout(TextFace face) {
    switch (face) {
    case TextFace::double_height:
        return {8, 8, FONT_8X8_LAST_CODE, 0xFFFF};
    case TextFace::small:
        return {6, 6, FONT_SMALL_LAST_CODE, 0xFF};
    case TextFace::normal:
        break;
    }
    return {8, 8, FONT_8X8_LAST_CODE, 0xFF};
}

// One screen column of a cell in the font's own layout: for the 8 x 8 faces bit r is row
// y + r; for the small face bit 7 - r is row y + r - 1, as in the glyph bytes.
uint32_t screen_column(TextFace face, int x, int y) {
    uint32_t bits = 0;
    switch (face) {
    case TextFace::normal:
        for (int r = 0; r < 8; ++r) {
            bits |= lcd_dark(x, y + r) ? 1u << r : 0;
        }
        break;
    case TextFace::double_height:
        for (int r = 0; r < 16; ++r) {
            bits |= lcd_dark(x, y + r) ? 1u << r : 0;
        }
        break;
    case TextFace::small:
        for (int r = 0; r < 8; ++r) {
            bits |= lcd_dark(x, y + r - 1) ? 1u << (7 - r) : 0;
        }
        break;
    }
    return bits;
}

uint32_t glyph_column(TextFace face, int code, int k) {
    switch (face) {
    case TextFace::normal:
        return font_8x8[(code - FONT_FIRST_CODE) * 8 + k];
    case TextFace::double_height: {
        const uint8_t single = font_8x8[(code - FONT_FIRST_CODE) * 8 + k];
        uint32_t bits = 0;
        for (int r = 0; r < 8; ++r) {
            bits |= (single & pixel_bit_mask[r]) != 0 ? 3u << (2 * r) : 0;
        }
        return bits;
    }
    case TextFace::small:
        return k < 5 ? font_small[(code - FONT_FIRST_CODE) * 5 + k] : 0;
    }
    return 0;
}

// The rows of a cell that a match compares, as bits of a column.
uint32_t compared_rows(TextFace face, int y, bool inverted) {
    uint32_t compared = layout(face).mask;
    if (face == TextFace::small && (!inverted || y == 0)) {
        compared &= 0x7F; // plain small text leaves the row above alone
    }
    return compared;
}

bool cell_matches(TextFace face, int x, int y, int code, bool inverted) {
    const FaceLayout f = layout(face);
    const uint32_t compared = compared_rows(face, y, inverted);
    for (int k = 0; k < f.width; ++k) {
        uint32_t expected = glyph_column(face, code, k);
        if (inverted) {
            expected = ~expected & f.mask;
        }
        if ((screen_column(face, x + k, y) & compared) != (expected & compared)) {
            return false;
        }
    }
    return true;
}

// A slight glyph, a quarter of its cell inked or less ('`', '-', '_', '.', ':' ...), turns up
// by chance inside larger ink: the lower half of a double-height 'R' holds a '`', the end of
// a title rule a '-', the top of a picture's frame a row of '_'. Such a glyph counts only
// when it stands whole: none of its ink touches dark pixels outside its cell, except at its
// sides where the cell beside holds a glyph ('Y', '_' and '~' ink their last column).
bool slight(TextFace face, int code) {
    const bool small = face == TextFace::small;
    int ink = 0;
    for (int k = 0; k < (small ? 5 : 8); ++k) {
        ink += std::popcount(small ? font_small[(code - FONT_FIRST_CODE) * 5 + k]
                                   : font_8x8[(code - FONT_FIRST_CODE) * 8 + k]);
    }
    return 4 * ink <= (small ? 5 * 7 : 8 * 8);
}

// The screen row of bit b of a cell column (see screen_column).
int row_of_bit(TextFace face, int y, int b) {
    return face == TextFace::small ? y + 6 - b : y + b;
}

// Whether the cell `offset` pitches along holds a plain glyph.
bool glyph_beside(TextFace face, int x, int y, int offset) {
    for (int code = FONT_FIRST_CODE; code <= layout(face).last_code; ++code) {
        if (cell_matches(face, x + offset * layout(face).pitch, y, code, false)) {
            return true;
        }
    }
    return false;
}

bool stands_whole(TextFace face, int x, int y, int code) {
    const FaceLayout f = layout(face);
    const uint32_t compared = compared_rows(face, y, false);
    const int top = y;
    const int bottom = y + std::bit_width(compared) - 1;
    bool touches_left = false;
    bool touches_right = false;
    for (int k = 0; k < f.width; ++k) {
        const uint32_t ink = glyph_column(face, code, k) & compared;
        for (int b = 0; b < 32; ++b) {
            if ((ink >> b & 1u) == 0) {
                continue;
            }
            const int px = x + k;
            const int py = row_of_bit(face, y, b);
            if ((py == top && lcd_dark(px, py - 1)) || (py == bottom && lcd_dark(px, py + 1))) {
                return false;
            }
            touches_left = touches_left || (k == 0 && lcd_dark(px - 1, py));
            touches_right = touches_right || (k == f.width - 1 && lcd_dark(px + 1, py));
        }
    }
    return (!touches_left || glyph_beside(face, x, y, -1)) &&
           (!touches_right || glyph_beside(face, x, y, 1));
}

// The glyph a cell shows in the given shade, or 0 if none.
char cell_glyph(TextFace face, int x, int y, bool inverted) {
    for (int code = FONT_FIRST_CODE; code <= layout(face).last_code; ++code) {
        if (cell_matches(face, x, y, code, inverted)) {
            const bool whole = inverted || !slight(face, code) || stands_whole(face, x, y, code);
            return whole ? static_cast<char>(code) : 0;
        }
    }
    return 0;
}

std::string read_cells(TextFace face, uint8_t x, uint8_t y, uint8_t n, Shade shade) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        const char c = cell_glyph(face, x + i * layout(face).pitch, y, shade == Shade::inverted);
        text += c != 0 ? c : '?';
    }
    return text;
}

struct Cell {
    char glyph = 0; // 0: the cell matches nothing here
    bool inverted = false;
};

// Plain blanks are invisible, so they do not count towards a text's length.
int visible_length(const ScreenText& t) {
    if (t.inverted) {
        return static_cast<int>(t.text.size());
    }
    return static_cast<int>(
        std::count_if(t.text.begin(), t.text.end(), [](char c) { return c != ' '; }));
}

} // namespace

std::ostream& operator<<(std::ostream& out, const ScreenText& found) {
    return out << '"' << found.text << "\" at x=" << static_cast<int>(found.x)
               << (found.inverted ? ", inverted" : ", plain");
}

std::string read_text(uint8_t x, uint8_t y, uint8_t n, Shade shade) {
    return read_cells(TextFace::normal, x, y, n, shade);
}

std::string read_double_text(uint8_t x, uint8_t y, uint8_t n, Shade shade) {
    return read_cells(TextFace::double_height, x, y, n, shade);
}

std::string read_small_text(uint8_t x, uint8_t y, uint8_t n, Shade shade) {
    return read_cells(TextFace::small, x, y, n, shade);
}

std::vector<ScreenText> find_texts(uint8_t y, TextFace face) {
    const FaceLayout f = layout(face);
    const int last_x = LCD_WIDTH - f.width;
    std::vector<Cell> cells(last_x + 1);
    for (int x = 0; x <= last_x; ++x) {
        if (char c = cell_glyph(face, x, y, false); c != 0) {
            cells[x] = {c, false};
        } else if (char ci = cell_glyph(face, x, y, true); ci != 0) {
            cells[x] = {ci, true};
        }
    }

    // Take the longest run of cells first and keep the later ones off its columns, so that a
    // run starting a few columns off a text's true start cannot steal it.
    std::vector<bool> taken(LCD_WIDTH, false);
    const auto free_cell = [&](int x) {
        return std::none_of(taken.begin() + x, taken.begin() + x + f.width,
                            [](bool t) { return t; });
    };
    std::vector<ScreenText> found;
    for (;;) {
        ScreenText best;
        int best_length = 0;
        for (int start = 0; start <= last_x; ++start) {
            if (cells[start].glyph == 0 || !free_cell(start)) {
                continue;
            }
            ScreenText run{"", static_cast<uint8_t>(start), cells[start].inverted};
            for (int x = start; x <= last_x && cells[x].glyph != 0 &&
                                cells[x].inverted == run.inverted && free_cell(x);
                 x += f.pitch) {
                run.text += cells[x].glyph;
            }
            if (!run.inverted) {
                const std::size_t lead = run.text.find_first_not_of(' ');
                if (lead == std::string::npos) {
                    continue;
                }
                run.text.erase(run.text.find_last_not_of(' ') + 1);
                run.text.erase(0, lead);
                run.x = static_cast<uint8_t>(run.x + lead * f.pitch);
            }
            if (visible_length(run) > best_length) {
                best_length = visible_length(run);
                best = run;
            }
        }
        if (best_length == 0) {
            break;
        }
        const int end =
            std::min<int>(LCD_WIDTH, best.x + static_cast<int>(best.text.size()) * f.pitch);
        std::fill(taken.begin() + best.x, taken.begin() + end, true);
        found.push_back(best);
    }
    std::sort(found.begin(), found.end(),
              [](const ScreenText& a, const ScreenText& b) { return a.x < b.x; });
    return found;
}

ScreenText find_text(uint8_t y, TextFace face) {
    const std::vector<ScreenText> texts = find_texts(y, face);
    const auto longest =
        std::max_element(texts.begin(), texts.end(), [](const ScreenText& a, const ScreenText& b) {
            return visible_length(a) < visible_length(b);
        });
    return longest == texts.end() ? ScreenText{} : *longest;
}

namespace {

// What the band holds instead, and its pixels.
void describe_band(testing::AssertionResult& failure, uint8_t y, TextFace face,
                   const std::vector<ScreenText>& texts) {
    failure << "; it holds ";
    if (texts.empty()) {
        failure << "no readable text";
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        failure << (i > 0 ? ", " : "") << texts[i];
    }
    const int top = face == TextFace::small ? y - 1 : y;
    const int bottom = y + (face == TextFace::double_height ? 15 : 7);
    failure << "\n"
            << lcd_dump_rows(static_cast<uint8_t>(std::max(top, 0)),
                             static_cast<uint8_t>(std::min(bottom, LCD_HEIGHT - 1)));
}

} // namespace

testing::AssertionResult band_reads(uint8_t y, const std::string& text, Shade shade,
                                    TextFace face) {
    const bool inverted = shade == Shade::inverted;
    const std::vector<ScreenText> texts = find_texts(y, face);
    for (const ScreenText& t : texts) {
        if (t.text == text && t.inverted == inverted) {
            return testing::AssertionSuccess();
        }
    }
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "band at y=" << static_cast<int>(y) << " should read \"" << text << "\" "
            << (inverted ? "inverted" : "plain");
    describe_band(failure, y, face, texts);
    return failure;
}

testing::AssertionResult band_shows(uint8_t y, const std::vector<ScreenText>& expected,
                                    TextFace face) {
    const std::vector<ScreenText> texts = find_texts(y, face);
    if (texts == expected) {
        return testing::AssertionSuccess();
    }
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "band at y=" << static_cast<int>(y) << " should hold ";
    if (expected.empty()) {
        failure << "nothing";
    }
    for (std::size_t i = 0; i < expected.size(); ++i) {
        failure << (i > 0 ? ", " : "") << expected[i];
    }
    describe_band(failure, y, face, texts);
    return failure;
}
