// Drawing texts: the 8 x 8 font at normal and double height, the small font, centring, the
// screen title and the setup-list rows with their highlight.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "firmware/lcd/fonts.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/state.h"
#include "support/lcd_pixels.h"
#include "support/lcd_reader.h"

using namespace txm9;

namespace {

bool ink_8x8(char c, int k, int r) {
    return (font_8x8[(static_cast<uint8_t>(c) - FONT_FIRST_CODE) * 8 + k] & pixel_bit_mask[r]) != 0;
}

// Small glyph pixel in the routine's own terms: row 0 is the row above the box (bit 7).
bool ink_small(char c, int k, int r) {
    return k < 5 && (font_small[(static_cast<uint8_t>(c) - FONT_FIRST_CODE) * 5 + k] &
                     pixel_bit_mask[7 - r]) != 0;
}

// The ink of a text in the 8 x 8 font with its first cell at (x, y); columns counted from the
// text's start and reduced to 8 bits like the pen, and only what falls on the screen.
PixelSet text_ink(int x, int y, const std::string& text, bool doubled = false) {
    PixelSet s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        for (int k = 0; k < 8; ++k) {
            const int col = (x + static_cast<int>(i) * 8 + k) & 0xFF;
            for (int r = 0; r < 8; ++r) {
                if (!ink_8x8(text[i], k, r)) {
                    continue;
                }
                for (int row : doubled ? std::vector<int>{y + 2 * r, y + 2 * r + 1}
                                       : std::vector<int>{y + r}) {
                    if (col < LCD_WIDTH && (row & 0xFF) < LCD_HEIGHT) {
                        s.insert({col, row & 0xFF});
                    }
                }
            }
        }
    }
    return s;
}

// An inverted text: its cells dark except the ink.
PixelSet inverted_cells(int x, int y, const std::string& text) {
    PixelSet s;
    for (std::size_t i = 0; i < text.size(); ++i) {
        for (int k = 0; k < 8; ++k) {
            for (int r = 0; r < 8; ++r) {
                if (!ink_8x8(text[i], k, r)) {
                    s.insert({x + static_cast<int>(i) * 8 + k, y + r});
                }
            }
        }
    }
    return s;
}

PixelSet united(PixelSet a, const PixelSet& b) {
    a.insert(b.begin(), b.end());
    return a;
}

PixelSet everything() {
    PixelSet s;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            s.insert({x, y});
        }
    }
    return s;
}

// A pattern already on the screen, which plain text must leave alone.
PixelSet checkerboard(int x0, int y0, int w, int h) {
    PixelSet s;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            if ((x + y) % 2 == 0) {
                s.insert({x, y});
                lcd_put_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y), PIXEL_SET);
            }
        }
    }
    return s;
}

class Text : public testing::Test {
protected:
    void SetUp() override {
        lcd_clear();
        menu_cursor = 0;
        edit_mode = 0;
    }
    void TearDown() override {
        menu_cursor = 0;
        edit_mode = 0;
    }
};

TEST_F(Text, PlainCharacterAddsItsInkAndLeavesTheRestOfItsCell) {
    const PixelSet before = checkerboard(0, 0, 10, 10);
    lcd_text(0, 0, "A", 0, 1, 0);
    EXPECT_TRUE(lcd_shows_exactly(united(before, text_ink(0, 0, "A"))));
}

TEST_F(Text, InvertedCharacterPaintsItsWholeCell) {
    const PixelSet before = checkerboard(0, 0, 10, 10);
    lcd_text(0, 0, "A", 0, 1, 1);
    PixelSet want = inverted_cells(0, 0, "A");
    for (const auto& p : before) {
        if (p.first > 7 || p.second > 7) {
            want.insert(p); // outside the cell nothing changes
        }
    }
    EXPECT_TRUE(lcd_shows_exactly(want));
}

TEST_F(Text, ModeMattersOnlyAtDoubleHeightAndInverseOnlyAtNormalHeight) {
    struct Case {
        const char* name;
        uint8_t double_height, mode, inverse;
        bool start_dark;
        PixelSet want;
    };
    const PixelSet all = everything();
    PixelSet cleared_double = all;
    for (const auto& p : text_ink(10, 20, "57A", true)) {
        cleared_double.erase(p);
    }
    const std::vector<Case> cases = {
        {"normal height, mode 1", 0, 1, 0, false, text_ink(10, 20, "57A")},
        {"normal height ignores mode 0", 0, 0, 0, false, text_ink(10, 20, "57A")},
        {"normal height, inverse 100 is plain", 0, 1, 100, false, text_ink(10, 20, "57A")},
        {"normal height, inverse 1", 0, 1, 1, false, inverted_cells(10, 20, "57A")},
        {"double_height 2 is normal height", 2, 1, 0, false, text_ink(10, 20, "57A")},
        {"double height sets the ink", 1, 1, 0, false, text_ink(10, 20, "57A", true)},
        {"double height ignores inverse", 1, 1, 1, false, text_ink(10, 20, "57A", true)},
        {"double height, mode 0 clears the ink", 1, 0, 0, true, cleared_double},
        {"double height, mode 2 draws nothing", 1, 2, 0, false, {}},
        {"double height, mode 2 on a dark screen", 1, 2, 1, true, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::memset(lcd_buffer, c.start_dark ? 0xFF : 0x00, sizeof lcd_buffer);
        lcd_text(10, 20, "57A", c.double_height, c.mode, c.inverse);
        EXPECT_TRUE(lcd_shows_exactly(c.want));
    }
}

TEST_F(Text, CharactersFollowEachOtherEightColumnsApart) {
    lcd_text(3, 30, "12.6V", 0, 1, 0);
    EXPECT_TRUE(lcd_shows_exactly(text_ink(3, 30, "12.6V")));
    EXPECT_EQ(read_text(3, 30, 5), "12.6V");
}

TEST_F(Text, TextSlidesInFromTheLeftEdge) {
    // A start at column 250 is 6 columns left of the screen: the first six columns of the
    // first character are hidden and the rest appears from column 0.
    lcd_text(250, 40, "WAVE", 0, 1, 0);
    EXPECT_TRUE(lcd_shows_exactly(text_ink(250, 40, "WAVE")));
    EXPECT_EQ(read_text(2, 40, 3), "AVE");
}

TEST_F(Text, CentredTextMayStartLeftOfTheScreen) {
    // Five characters centred on 250 start at 230: 26 columns hidden, 14 shown at 0..13.
    lcd_text_centred(250, 8, "HELLO", 0, 1, 0);
    const PixelSet want = text_ink(230, 8, "HELLO");
    EXPECT_TRUE(lcd_shows_exactly(want));
    for (const auto& [x, y] : want) {
        EXPECT_LE(x, 13) << "pixel (" << x << "," << y << ")";
    }
    EXPECT_EQ(read_text(6, 8, 1), "O");
}

TEST_F(Text, CentredTextSitsOnItsCentreColumn) {
    lcd_text_centred(57, 24, "DONE", 0, 1, 1);
    EXPECT_EQ(find_text(24), (screen_text{"DONE", 41, true}));
    lcd_clear();
    lcd_text_centred(57, 10, "57A", 1, 1, 0);
    EXPECT_TRUE(lcd_shows_exactly(text_ink(45, 10, "57A", true)));
}

TEST_F(Text, TextRunningPastColumn255ComesBackAtTheLeft) {
    // The pen is 8-bit: the eighth character of a text started at 200 lands on column 0.
    lcd_text(200, 16, "ABCDEFGHIJ", 0, 1, 0);
    EXPECT_TRUE(lcd_shows_exactly(text_ink(200, 16, "ABCDEFGHIJ")));
    EXPECT_EQ(find_text(16), (screen_text{"HIJ", 0, false}));
}

TEST_F(Text, TextIsCutAtThirtyOneCharacters) {
    // Started at column 8, a 32nd character would come round to column 0.
    const std::string forty = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789ABCD";
    lcd_text(8, 48, forty.c_str(), 0, 1, 0);
    EXPECT_TRUE(lcd_shows_exactly(text_ink(8, 48, forty.substr(0, 31))));
    EXPECT_EQ(read_text(0, 48, 1), " ");
}

TEST_F(Text, SmallTextInkLiesInRowsYToYPlus6) {
    const PixelSet before = checkerboard(0, 0, 3, 3);
    lcd_small_text(1, 2, "BAT", 100);
    PixelSet want = before;
    const std::string text = "BAT";
    for (int i = 0; i < 3; ++i) {
        for (int k = 0; k < 6; ++k) {
            for (int r = 0; r < 8; ++r) {
                if (ink_small(text[i], k, r)) {
                    want.insert({1 + 6 * i + k, 2 + r - 1});
                }
            }
        }
    }
    EXPECT_TRUE(lcd_shows_exactly(want));
    EXPECT_EQ(read_small_text(1, 2, 3), "BAT");
}

TEST_F(Text, SmallTextInvertsFromTheGivenCharacterOverRowsYMinus1ToYPlus6) {
    struct Case {
        uint8_t inverse_from;
        int first_inverted; // index of the first character drawn inverted, 4 for none
    };
    const std::string text = "OVER";
    for (const Case c : {Case{0, 0}, Case{2, 2}, Case{100, 4}, Case{4, 4}}) {
        SCOPED_TRACE("inverse_from " + std::to_string(c.inverse_from));
        lcd_clear();
        lcd_small_text(20, 30, text.c_str(), c.inverse_from);
        PixelSet want;
        for (int i = 0; i < 4; ++i) {
            for (int k = 0; k < 6; ++k) {
                for (int r = 0; r < 8; ++r) {
                    if (ink_small(text[i], k, r) != (i >= c.first_inverted)) {
                        want.insert({20 + 6 * i + k, 29 + r});
                    }
                }
            }
        }
        EXPECT_TRUE(lcd_shows_exactly(want));
    }
}

TEST_F(Text, SmallTextNeverClearsAPixel) {
    std::memset(lcd_buffer, 0xFF, sizeof lcd_buffer);
    lcd_small_text(0, 10, "CHARGING", 0);
    lcd_small_text(0, 30, "CHARGING", 100);
    EXPECT_TRUE(lcd_shows_exactly(everything()));
}

TEST_F(Text, SmallTextCentresOnSixColumnsPerCharacter) {
    lcd_small_text_centred(57, 50, "OVER", 100);
    EXPECT_EQ(find_text(50, text_face::small), (screen_text{"OVER", 45, false}));
    lcd_clear();
    lcd_small_text_centred(3, 50, "OVER", 100); // starts at 3 - 12 = 247
    EXPECT_EQ(read_small_text(3, 50, 2), "ER");
}

TEST_F(Text, TitleSitsOnTheTopBandBetweenTwoRules) {
    struct Case {
        const char* title;
        int text_first, left_rule_last, right_rule_first;
    };
    for (const Case c : {Case{" MAIN MENU ", 13, 15, 99}, Case{" MESSAGE ", 21, 23, 91},
                         Case{" AFFI CONFIG ", 5, 7, 107}}) {
        SCOPED_TRACE(c.title);
        lcd_clear();
        lcd_title(c.title);
        PixelSet want = text_ink(c.text_first, 0, c.title);
        for (int x = 0; x <= c.left_rule_last; ++x) {
            want.insert({x, 4});
        }
        for (int x = c.right_rule_first; x < LCD_WIDTH; ++x) {
            want.insert({x, 4});
        }
        EXPECT_TRUE(lcd_shows_exactly(want));
        const std::string words(c.title + 1, std::strlen(c.title) - 2);
        EXPECT_TRUE(band_reads(0, words));
    }
}

TEST_F(Text, ListTextNeverDrawsOverTheTitleBand) {
    for (uint8_t y = 0; y <= 7; ++y) {
        lcd_list_text(0, y, "SHUNT A: ", 1);
        lcd_list_text(0, y, "SHUNT A: ", 0);
    }
    EXPECT_TRUE(lcd_shows_exactly({}));
    lcd_list_text(0, 8, "SHUNT A: ", 1);
    EXPECT_TRUE(band_reads(8, "SHUNT A: ", text_shade::inverted));
}

TEST_F(Text, MenuRowHighlightsLabelAndValueWhileSelectedAndOnlyTheValueWhileEditing) {
    struct Case {
        const char* name;
        uint8_t cursor, editing;
        std::vector<screen_text> band;
    };
    const std::vector<Case> cases = {
        {"selected", 3, 0, {{"LANG: ENGLISH", 0, true}}},
        {"being edited", 3, 1, {{"LANG:", 0, false}, {"ENGLISH", 48, true}}},
        {"another row selected", 2, 0, {{"LANG: ENGLISH", 0, false}}},
        {"another row being edited", 2, 1, {{"LANG: ENGLISH", 0, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lcd_clear();
        menu_cursor = c.cursor;
        edit_mode = c.editing;
        menu_row(0, 3, "LANG: ", "ENGLISH");
        EXPECT_EQ(find_texts(32), c.band);
        PixelSet outside_band;
        for (const auto& p : lcd_dark_pixels()) {
            if (p.second < 32 || p.second > 39) {
                outside_band.insert(p);
            }
        }
        EXPECT_TRUE(outside_band.empty()) << "ink outside rows 32..39";
    }
}

TEST_F(Text, MenuRowValueStartsAfterTheLabelFromValueX) {
    menu_row(16, 1, "ON", "OFF");
    EXPECT_EQ(read_text(0, 16, 5), "ON  O");
    EXPECT_EQ(read_text(32, 16, 3), "OFF");
    EXPECT_TRUE(lcd_shows_exactly(united(text_ink(0, 16, "ON"), text_ink(32, 16, "OFF"))));
}

TEST_F(Text, MenuRowHighlightStaysOnRowSixWhenTheCursorGoesBeyond) {
    for (uint8_t cursor : {7, 9}) {
        SCOPED_TRACE("menu_cursor " + std::to_string(cursor));
        lcd_clear();
        menu_cursor = cursor;
        menu_row(0, 6, "DISP TIME: ", "5");
        menu_row(0, 3, "DISP: ", "V+A");
        EXPECT_EQ(find_text(56), (screen_text{"DISP TIME: 5", 0, true}));
        EXPECT_EQ(find_text(32), (screen_text{"DISP: V+A", 0, false}));
    }
}

TEST_F(Text, MenuRowsBelowRowSixAreOffTheScreen) {
    menu_cursor = 7;
    menu_row(0, 7, "LANG: ", "ENGLISH");
    menu_row(0, 31, "LANG: ", "ENGLISH"); // 8 * 31 + 8 wraps to 0, the title band
    EXPECT_TRUE(lcd_shows_exactly({}));
}

} // namespace
