// The whole screen read at once, for checks that ask whether a text shows anywhere.
#include <algorithm>
#include <bit>
#include <cctype>
#include <sstream>

#include "lcd_reader/lcd_text_reader.h"
#include "lcd_reader/read_bands.h"

namespace txm9 {

namespace {

constexpr text_face all_faces[] = {text_face::normal, text_face::double_height, text_face::small,
                                   text_face::large_numerals, text_face::medium_numerals};

struct pixel_box {
    int left = 0, top = 0, right = -1, bottom = -1; // empty while right < left
    bool empty() const { return right < left; }
    bool holds(const pixel_box& inner) const {
        return inner.left >= left && inner.right <= right && inner.top >= top &&
               inner.bottom <= bottom;
    }
};

// The pixels a found text's cells cover, the row above included for inverted small text.
pixel_box cells_box(const found_text& t) {
    const reader_font& face = reader_face(t.face);
    int width = 0;
    for (char c : t.text) {
        const auto g = std::find_if(face.glyphs.begin(), face.glyphs.end(),
                                    [c](const reader_glyph& glyph) { return glyph.code == c; });
        width += g != face.glyphs.end() ? g->advance : 0;
    }
    const int above = t.inverted && face.dark_row_above && t.y > 0 ? 1 : 0;
    return {t.x, t.y - above, t.x + width - 1, t.y + face.height - 1};
}

// The smallest box around the dark pixels inside `box`.
pixel_box ink_box(const lcd_snapshot& lcd, const pixel_box& box) {
    pixel_box ink{LCD_WIDTH, LCD_HEIGHT, -1, -1};
    const int rows = box.bottom - box.top + 1;
    for (int x = box.left; x <= box.right; ++x) {
        const uint32_t dark = lcd.rows(x, box.top, rows);
        if (dark != 0) {
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, box.top + static_cast<int>(std::countr_zero(dark)));
            ink.bottom = std::max(ink.bottom, box.top + static_cast<int>(std::bit_width(dark)) - 1);
        }
    }
    return ink;
}

// Reading every band in every face also finds pieces of texts in the bands and faces they
// were not written in: the dot of a ':' alone in the band above it, the foot of a large digit
// as an inverted '_'. Within a matched cell every dark pixel is the text's own (its ink, or
// its background when inverted), so a text whose dark pixels all lie in the cells of a
// longer text is made of that text, and is left out.
std::vector<found_text> without_pieces(const lcd_snapshot& lcd, std::vector<found_text> texts) {
    std::vector<pixel_box> cells;
    std::vector<pixel_box> ink;
    std::vector<int> length;
    for (const found_text& t : texts) {
        cells.push_back(cells_box(t));
        ink.push_back(ink_box(lcd, cells.back()));
        length.push_back(visible_length(screen_text{t.text, t.x, t.inverted}));
    }
    std::vector<found_text> kept;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        bool piece = false;
        for (std::size_t j = 0; j < texts.size() && !piece && !ink[i].empty(); ++j) {
            piece = length[j] > length[i] && cells[j].holds(ink[i]);
        }
        if (!piece) {
            kept.push_back(std::move(texts[i]));
        }
    }
    return kept;
}

bool letter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

bool digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether cutting `run` before index i leaves words and numbers whole.
bool clean_cut(const std::string& run, std::size_t i) {
    if (i == 0 || i >= run.size()) {
        return true;
    }
    const char before = run[i - 1];
    const char after = run[i];
    if ((letter(before) && letter(after)) || (digit(before) && digit(after))) {
        return false;
    }
    const bool point_then_digit = before == '.' && digit(after) && i >= 2 && digit(run[i - 2]);
    const bool digit_then_point =
        digit(before) && after == '.' && i + 1 < run.size() && digit(run[i + 1]);
    return !point_then_digit && !digit_then_point;
}

} // namespace

const char* face_name(text_face face) {
    switch (face) {
    case text_face::double_height:
        return "double height";
    case text_face::small:
        return "small";
    case text_face::large_numerals:
        return "large numerals";
    case text_face::medium_numerals:
        return "medium numerals";
    case text_face::normal:
        break;
    }
    return "normal";
}

std::ostream& operator<<(std::ostream& out, const found_text& found) {
    return out << face_name(found.face) << " x=" << static_cast<int>(found.x)
               << " y=" << static_cast<int>(found.y)
               << (found.inverted ? " inverted \"" : " plain \"") << found.text << '"';
}

std::vector<found_text> find_all_texts() {
    const lcd_snapshot lcd;
    std::vector<found_text> found;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (text_face face : all_faces) {
            for (screen_text& t : band_texts(lcd, face, y)) {
                if (t.text.find_first_not_of(' ') != std::string::npos) {
                    found.push_back(
                        {std::move(t.text), face, t.x, static_cast<uint8_t>(y), t.inverted});
                }
            }
        }
    }
    return without_pieces(lcd, std::move(found));
}

bool text_contains(const std::string& run, const std::string& text) {
    if (text.empty()) {
        return false;
    }
    for (std::size_t at = run.find(text); at != std::string::npos; at = run.find(text, at + 1)) {
        if (clean_cut(run, at) && clean_cut(run, at + text.size())) {
            return true;
        }
    }
    return false;
}

bool screen_shows(const std::string& text, std::optional<bool> inverted) {
    const std::vector<found_text> texts = find_all_texts();
    return std::any_of(texts.begin(), texts.end(), [&](const found_text& t) {
        return (!inverted || t.inverted == *inverted) && text_contains(t.text, text);
    });
}

std::string describe_screen_texts() {
    const std::vector<found_text> texts = find_all_texts();
    if (texts.empty()) {
        return "no readable text\n";
    }
    std::ostringstream out;
    for (const found_text& t : texts) {
        out << t << '\n';
    }
    return out.str();
}

} // namespace txm9
