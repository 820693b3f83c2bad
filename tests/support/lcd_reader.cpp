#include "lcd_reader.h"

#include <algorithm>

#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"

using namespace txm9;

namespace {

// Rows from the top of a cell to its bottom, the row above included for small text.
int band_top(uint8_t y, text_face face) {
    return face == text_face::small ? y - 1 : y;
}

int band_bottom(uint8_t y, text_face face) {
    switch (face) {
    case text_face::double_height:
        return y + 15;
    case text_face::large_numerals:
        return y + 31;
    case text_face::medium_numerals:
        return y + 23;
    case text_face::normal:
    case text_face::small:
        break;
    }
    return y + 7;
}

// What the band holds instead, and its pixels.
void describe_band(testing::AssertionResult& failure, uint8_t y, text_face face,
                   const std::vector<screen_text>& texts) {
    failure << "; it holds ";
    if (texts.empty()) {
        failure << "no readable text";
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        failure << (i > 0 ? ", " : "") << texts[i];
    }
    failure << "\n"
            << lcd_dump_rows(static_cast<uint8_t>(std::max(band_top(y, face), 0)),
                             static_cast<uint8_t>(std::min(band_bottom(y, face), LCD_HEIGHT - 1)));
}

} // namespace

testing::AssertionResult band_reads(uint8_t y, const std::string& text, text_shade shade,
                                    text_face face) {
    const bool inverted = shade == text_shade::inverted;
    const std::vector<screen_text> texts = find_texts(y, face);
    for (const screen_text& t : texts) {
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

testing::AssertionResult band_shows(uint8_t y, const std::vector<screen_text>& expected,
                                    text_face face) {
    const std::vector<screen_text> texts = find_texts(y, face);
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
