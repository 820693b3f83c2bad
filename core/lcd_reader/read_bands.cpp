#include "lcd_reader/read_bands.h"

#include <algorithm>
#include <array>
#include <bit>

namespace txm9 {

namespace {

constexpr int MAX_CELL_WIDTH = 32;

uint32_t row_mask(const reader_font& face) {
    return face.height >= 32 ? ~0u : (1u << face.height) - 1;
}

// The first glyph in code order whose key columns hash to `key` and whose ink is exactly
// `columns`.
const reader_glyph* look_up(const reader_font& face, uint64_t key, const uint32_t* columns) {
    const std::size_t last_slot = face.by_key.size() - 1;
    for (std::size_t slot = key & last_slot; face.by_key[slot] >= 0;
         slot = (slot + 1) & last_slot) {
        const reader_glyph& g = face.glyphs[face.by_key[slot]];
        if (g.key == key && std::equal(g.ink.begin(), g.ink.end(), columns)) {
            return &g;
        }
    }
    return nullptr;
}

// The first glyph in code order whose ink is exactly `columns`, a cell's columns as the
// glyphs hold them: dark bits for a plain cell, light ones for an inverted cell. There are
// face.widest columns.
inline const reader_glyph* glyph_with_ink(const reader_font& face, const uint32_t* columns) {
    if (!face.filter.test(filter_slot(face, columns))) {
        return nullptr;
    }
    return look_up(face, cell_key(columns, face.key_columns), columns);
}

// An inverted small character's band reaches one row above its box, unless that row would
// lie above the screen.
bool row_above_dark(const lcd_snapshot& lcd, const reader_font& face, int x, int y, int width) {
    if (!face.dark_row_above || y == 0) {
        return true;
    }
    for (int k = 0; k < width; ++k) {
        if (!lcd.dark(x + k, y - 1)) {
            return false;
        }
    }
    return true;
}

// Whether every compared pixel of the cell at (x, y) agrees with the glyph.
bool shows(const lcd_snapshot& lcd, const reader_font& face, const reader_glyph& g, int x, int y,
           bool inverted) {
    const uint32_t mask = row_mask(face);
    for (int k = 0; k < g.advance; ++k) {
        const uint32_t dark = lcd.rows(x + k, y, face.height);
        if ((inverted ? ~dark & mask : dark) != g.ink[k]) {
            return false;
        }
    }
    return !inverted || row_above_dark(lcd, face, x, y, g.advance);
}

// The cell at (x, y) as the glyphs hold it: face.widest columns, dark bits for a plain cell
// and light ones for an inverted cell.
std::array<uint32_t, MAX_CELL_WIDTH> cell_ink(const lcd_snapshot& lcd, const reader_font& face,
                                              int x, int y, bool inverted) {
    const uint32_t mask = row_mask(face);
    std::array<uint32_t, MAX_CELL_WIDTH> columns{};
    for (int k = 0; k < face.widest; ++k) {
        const uint32_t dark = lcd.rows(x + k, y, face.height);
        columns[k] = inverted ? ~dark & mask : dark;
    }
    return columns;
}

// Which neighbours a slight glyph's standing is checked against: a neighbour is checked only
// away from the glyph that asked, so that a row of slight glyphs is followed to its ends.
enum side : uint8_t { LEFT = 1, RIGHT = 2, BOTH = LEFT | RIGHT };

bool stands_whole(const lcd_snapshot& lcd, const reader_font& face, const reader_glyph& g, int x,
                  int y, side looking = BOTH);

// Whether a plain glyph's cell that really stands there ends just left of column x, or begins
// at column x. A slight neighbour has to stand whole itself, further along the same way: the
// edge of a picture's frame holds a '_' in every cell, each beside another, but the first and
// last touch the frame's sides.
bool glyph_ends_at(const lcd_snapshot& lcd, const reader_font& face, int x, int y) {
    const auto standing = [&](const reader_glyph& g, int from) {
        return !g.slight || stands_whole(lcd, face, g, from, y, LEFT);
    };
    if (face.pitch != 0) {
        const reader_glyph* g =
            glyph_with_ink(face, cell_ink(lcd, face, x - face.pitch, y, false).data());
        return g != nullptr && standing(*g, x - face.pitch);
    }
    return std::any_of(face.glyphs.begin(), face.glyphs.end(), [&](const reader_glyph& g) {
        return shows(lcd, face, g, x - g.advance, y, false) && standing(g, x - g.advance);
    });
}

bool glyph_starts_at(const lcd_snapshot& lcd, const reader_font& face, int x, int y) {
    const reader_glyph* g = glyph_with_ink(face, cell_ink(lcd, face, x, y, false).data());
    return g != nullptr && (!g->slight || stands_whole(lcd, face, *g, x, y, RIGHT));
}

// A slight glyph turns up by chance inside larger ink: the lower half of a double-height 'R'
// holds a '`', the end of a title rule a '-', the top of a picture's frame a row of '_'. Such
// a glyph counts only when it stands whole: none of its ink touches dark pixels outside its
// cell, except at its sides where the cell beside holds a glyph that stands there too ('Y',
// '_' and '~' ink their last column, the large minus its first).
bool stands_whole(const lcd_snapshot& lcd, const reader_font& face, const reader_glyph& g, int x,
                  int y, side looking) {
    const int last_row = face.height - 1;
    bool touches_left = false;
    bool touches_right = false;
    for (int k = 0; k < g.advance; ++k) {
        for (uint32_t ink = g.ink[k]; ink != 0; ink &= ink - 1) {
            const int r = std::countr_zero(ink);
            const int px = x + k;
            const int py = y + r;
            if ((r == 0 && lcd.dark(px, py - 1)) || (r == last_row && lcd.dark(px, py + 1))) {
                return false;
            }
            touches_left = touches_left || (k == 0 && lcd.dark(px - 1, py));
            touches_right = touches_right || (k == g.advance - 1 && lcd.dark(px + 1, py));
        }
    }
    return (!(looking & LEFT) || !touches_left || glyph_ends_at(lcd, face, x, y)) &&
           (!(looking & RIGHT) || !touches_right || glyph_starts_at(lcd, face, x + g.advance, y));
}

// The glyph whose ink the cell's columns hold, if it really stands there: an inverted small
// character needs its row above dark, a slight plain glyph has to stand whole.
const reader_glyph* confirmed(const lcd_snapshot& lcd, const reader_font& face,
                              const reader_glyph* g, int x, int y, bool inverted) {
    if (g == nullptr) {
        return nullptr;
    }
    if (inverted) {
        return row_above_dark(lcd, face, x, y, g->advance) ? g : nullptr;
    }
    return !g->slight || stands_whole(lcd, face, *g, x, y) ? g : nullptr;
}

struct glyph_cell {
    const reader_glyph* glyph = nullptr; // nullptr: the cell matches nothing here
    bool inverted = false;
};

// A candidate text: cells from column `start` up to column `end`, and its visible length.
struct cell_run {
    int start = 0;
    int end = 0;
    bool inverted = false;
    int visible = 0;
};

} // namespace

const reader_glyph* cell_glyph(const lcd_snapshot& lcd, const reader_font& face, int x, int y,
                               bool inverted) {
    if (inverted && !face.invertible) {
        return nullptr;
    }
    return confirmed(lcd, face, glyph_with_ink(face, cell_ink(lcd, face, x, y, inverted).data()), x,
                     y, inverted);
}

int visible_length(const screen_text& t) {
    if (t.inverted) {
        return static_cast<int>(t.text.size());
    }
    return static_cast<int>(
        std::count_if(t.text.begin(), t.text.end(), [](char c) { return c != ' '; }));
}

std::vector<screen_text> band_texts(const lcd_snapshot& lcd, text_face face_id, int y) {
    const reader_font& face = reader_face(face_id);
    // Below the last band no glyph's ink fits on the screen; on a band without ink every plain
    // cell is a blank, and an inverted cell needs a glyph that fills it.
    if (y > face.last_band || (!face.some_glyph_fills_its_cell && !lcd.any_ink(y, face.height))) {
        return {};
    }

    // The band's columns once, as plain and as inverted cells hold them, columns past the
    // right edge light; and how many columns from each one on are wholly light or wholly
    // dark, so that a blank cell needs no look-up.
    constexpr int SPAN = LCD_WIDTH + MAX_CELL_WIDTH;
    const uint32_t mask = row_mask(face);
    std::array<uint32_t, SPAN> dark{};
    std::array<uint32_t, SPAN> light{};
    std::array<int, SPAN + 1> light_from{};
    std::array<int, SPAN + 1> dark_from{};
    for (int x = SPAN - 1; x >= 0; --x) {
        dark[x] = x < LCD_WIDTH ? lcd.rows(x, y, face.height) : 0;
        light[x] = ~dark[x] & mask;
        light_from[x] = dark[x] == 0 ? light_from[x + 1] + 1 : 0;
        dark_from[x] = light[x] == 0 ? dark_from[x + 1] + 1 : 0;
    }
    const reader_glyph& blank = face.glyphs.front();
    const auto glyph_at = [&](int x, bool inverted) -> const reader_glyph* {
        if ((inverted ? dark_from[x] : light_from[x]) >= blank.advance) {
            return inverted ? confirmed(lcd, face, &blank, x, y, true) : &blank;
        }
        return confirmed(lcd, face, glyph_with_ink(face, inverted ? &light[x] : &dark[x]), x, y,
                         inverted);
    };

    // Each cell lies wholly on the screen. Plain blanks alone make no text.
    std::array<glyph_cell, LCD_WIDTH> cells{};
    bool visible_cell = false;
    for (int x = 0; x < LCD_WIDTH; ++x) {
        glyph_cell cell{glyph_at(x, false), false};
        if (cell.glyph == nullptr && face.invertible) {
            cell = {glyph_at(x, true), true};
        }
        if (cell.glyph != nullptr && x + cell.glyph->advance <= LCD_WIDTH) {
            cells[x] = cell;
            visible_cell = visible_cell || cell.inverted || cell.glyph != &blank;
        }
    }
    if (!visible_cell) {
        return {};
    }

    // Take the longest run of cells first and keep the later ones off its columns, so that a
    // run starting a few columns off a text's true start cannot steal it.
    std::array<bool, LCD_WIDTH> taken{};
    std::vector<screen_text> found;
    for (;;) {
        // The run from each free cell on, built from the right: the cell, then the run from
        // where it moves the pen if that cell is free and of the same shade.
        std::array<bool, LCD_WIDTH + 1> free_cell{};
        std::array<cell_run, LCD_WIDTH + 1> from{};
        int next_taken = LCD_WIDTH;
        for (int x = LCD_WIDTH - 1; x >= 0; --x) {
            next_taken = taken[x] ? x : next_taken;
            const glyph_cell& cell = cells[x];
            if (cell.glyph == nullptr || x + cell.glyph->advance > next_taken) {
                continue;
            }
            free_cell[x] = true;
            const int next = x + cell.glyph->advance;
            const bool goes_on =
                next < LCD_WIDTH && free_cell[next] && cells[next].inverted == cell.inverted;
            const cell_run tail = goes_on ? from[next] : cell_run{};
            // Plain blanks at either end are dropped.
            if (cell.inverted || cell.glyph->code != ' ') {
                from[x] = {x, tail.visible > 0 ? tail.end : next, cell.inverted, tail.visible + 1};
            } else {
                from[x] = tail;
            }
        }
        const auto best =
            std::max_element(from.begin(), from.end(), [](const cell_run& a, const cell_run& b) {
                return a.visible < b.visible;
            });
        if (best->visible == 0) {
            break;
        }
        screen_text text{"", static_cast<uint8_t>(best->start), best->inverted};
        for (int x = best->start; x < best->end; x += cells[x].glyph->advance) {
            text.text += cells[x].glyph->code;
        }
        std::fill(taken.begin() + best->start, taken.begin() + best->end, true);
        found.push_back(std::move(text));
    }
    std::sort(found.begin(), found.end(),
              [](const screen_text& a, const screen_text& b) { return a.x < b.x; });
    return found;
}

} // namespace txm9
