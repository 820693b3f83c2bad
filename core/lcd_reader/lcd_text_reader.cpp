#include "lcd_reader/lcd_text_reader.h"

#include <algorithm>

#include "lcd_reader/read_bands.h"

namespace txm9 {

namespace {

std::string read_cells(TextFace face_id, uint8_t x, uint8_t y, uint8_t n, Shade shade) {
    const LcdSnapshot lcd;
    const ReaderFace& face = reader_face(face_id);
    std::string text;
    for (int i = 0; i < n; ++i) {
        const ReaderGlyph* g =
            cell_glyph(lcd, face, x + i * face.pitch, y, shade == Shade::inverted);
        text += g != nullptr ? g->code : '?';
    }
    return text;
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
    return band_texts(LcdSnapshot{}, face, y);
}

ScreenText find_text(uint8_t y, TextFace face) {
    const std::vector<ScreenText> texts = find_texts(y, face);
    const auto longest =
        std::max_element(texts.begin(), texts.end(), [](const ScreenText& a, const ScreenText& b) {
            return visible_length(a) < visible_length(b);
        });
    return longest == texts.end() ? ScreenText{} : *longest;
}

} // namespace txm9
