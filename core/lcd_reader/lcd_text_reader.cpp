#include "lcd_reader/lcd_text_reader.h"

#include <algorithm>

#include "lcd_reader/read_bands.h"

namespace txm9 {

namespace {

std::string read_cells(text_face face_id, uint8_t x, uint8_t y, uint8_t n, text_shade shade) {
    const lcd_snapshot lcd;
    const reader_font& face = reader_face(face_id);
    std::string text;
    for (int i = 0; i < n; ++i) {
        const reader_glyph* g =
            cell_glyph(lcd, face, x + i * face.pitch, y, shade == text_shade::inverted);
        text += g != nullptr ? g->code : '?';
    }
    return text;
}

} // namespace

std::ostream& operator<<(std::ostream& out, const screen_text& found) {
    return out << '"' << found.text << "\" at x=" << static_cast<int>(found.x)
               << (found.inverted ? ", inverted" : ", plain");
}

std::string read_text(uint8_t x, uint8_t y, uint8_t n, text_shade shade) {
    return read_cells(text_face::normal, x, y, n, shade);
}

std::string read_double_text(uint8_t x, uint8_t y, uint8_t n, text_shade shade) {
    return read_cells(text_face::double_height, x, y, n, shade);
}

std::string read_small_text(uint8_t x, uint8_t y, uint8_t n, text_shade shade) {
    return read_cells(text_face::small, x, y, n, shade);
}

std::vector<screen_text> find_texts(uint8_t y, text_face face) {
    return band_texts(lcd_snapshot{}, face, y);
}

screen_text find_text(uint8_t y, text_face face) {
    const std::vector<screen_text> texts = find_texts(y, face);
    const auto longest = std::max_element(texts.begin(), texts.end(),
                                          [](const screen_text& a, const screen_text& b) {
                                              return visible_length(a) < visible_length(b);
                                          });
    return longest == texts.end() ? screen_text{} : *longest;
}

} // namespace txm9
