// The test helpers that read the frame buffer back: the ASCII dump and the text reader.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "framebuffer.h"
#include "lcd_dump.h"
#include "lcd_reader.h"
#include "text.h"

namespace {

class LcdReader : public testing::Test {
protected:
    void SetUp() override { lcd_clear(); }
};

std::vector<std::string> lines(const std::string& s) {
    std::vector<std::string> out;
    std::istringstream in(s);
    for (std::string line; std::getline(in, line);) {
        out.push_back(line);
    }
    return out;
}

TEST_F(LcdReader, DumpShowsEachPixelUnderItsRulers) {
    lcd_put_pixel(0, 0, PIXEL_SET);
    lcd_put_pixel(107, 2, PIXEL_SET);
    const std::vector<std::string> dump = lines(lcd_dump());
    ASSERT_EQ(dump.size(), 3u + 64u);
    const std::size_t margin = 4;
    EXPECT_EQ(dump[0].substr(margin + 107, 1), "1"); // hundreds
    EXPECT_EQ(dump[1].substr(margin + 107, 1), "0"); // tens
    EXPECT_EQ(dump[2].substr(margin + 107, 1), "7"); // units
    EXPECT_EQ(dump[3].substr(0, margin + 2), " 0  #.");
    EXPECT_EQ(dump[5].substr(margin + 106, 3), ".#.");
    EXPECT_EQ(dump[5].size(), margin + 114);
    EXPECT_EQ(lines(lcd_dump_rows(2, 3)).size(), 3u + 2u);
}

TEST_F(LcdReader, ReadsPlainAndInvertedTextWhereItWasDrawn) {
    lcd_text(5, 9, "SHUNT A: 100", 0, 1, 0);
    lcd_text(0, 40, "LANG: FRANCAIS", 0, 1, 1);
    EXPECT_EQ(read_text(5, 9, 12), "SHUNT A: 100");
    EXPECT_EQ(read_text(0, 40, 14, Shade::inverted), "LANG: FRANCAIS");
    EXPECT_EQ(read_text(0, 40, 2), "??") << "inverted cells do not read as plain ones";
    EXPECT_EQ(read_text(6, 9, 2), "??") << "one column off the text reads nothing";
}

TEST_F(LcdReader, AStrayPixelSpoilsOnlyItsCell) {
    lcd_text(0, 16, "57A", 0, 1, 0);
    lcd_put_pixel(9, 23, PIXEL_SET);
    EXPECT_EQ(read_text(0, 16, 3), "5?A");
}

TEST_F(LcdReader, FindsTextsWhereverTheyStart) {
    lcd_text_centred(57, 24, "LANG: FRANCAIS", 0, 1, 1);
    EXPECT_EQ(find_text(24), (ScreenText{"LANG: FRANCAIS", 1, true}));

    lcd_text(3, 48, "12.6V", 0, 1, 0);
    lcd_text(61, 48, "57A", 0, 1, 1);
    EXPECT_EQ(find_texts(48), (std::vector<ScreenText>{{"12.6V", 3, false}, {"57A", 61, true}}));
    EXPECT_EQ(find_text(48), (ScreenText{"12.6V", 3, false}));
    EXPECT_TRUE(find_texts(8).empty());
    EXPECT_EQ(find_text(8), ScreenText{});
}

TEST_F(LcdReader, FindsTheTitleBetweenItsRules) {
    lcd_title(" MAIN MENU ");
    EXPECT_EQ(find_texts(0), (std::vector<ScreenText>{{"MAIN MENU", 21, false}}));
}

TEST_F(LcdReader, ReadsDoubleHeightAndSmallText) {
    lcd_text(7, 0, "57A", 1, 1, 0);
    lcd_small_text(10, 20, "CHARGING", 100);
    lcd_small_text(1, 40, "OVER", 0);
    EXPECT_EQ(read_double_text(7, 0, 3), "57A");
    EXPECT_EQ(find_text(0, TextFace::double_height), (ScreenText{"57A", 7, false}));
    EXPECT_EQ(read_small_text(10, 20, 8), "CHARGING");
    EXPECT_EQ(find_text(20, TextFace::small), (ScreenText{"CHARGING", 10, false}));
    EXPECT_EQ(find_text(40, TextFace::small), (ScreenText{"OVER", 1, true}));
    EXPECT_EQ(read_text(7, 0, 3), "???") << "double-height cells are not normal ones";
}

// The lower half of a double-height 'R' is a doubled '`', and the end of a title's rule or
// the top of a picture's frame look like '-' and '_': none of them is text.
TEST_F(LcdReader, SlightGlyphsInsideLargerInkAreNotText) {
    lcd_text_centred(73, 18, "VALEUR", 1, 1, 0);
    lcd_text_centred(73, 36, "A/D", 1, 1, 0);
    EXPECT_TRUE(find_texts(26, TextFace::double_height).empty())
        << find_text(26, TextFace::double_height);
    lcd_title(" MAIN MENU ");
    EXPECT_TRUE(find_texts(1).empty()) << find_text(1);
    lcd_fill(6, 50, 34, 52, PIXEL_SET);
    for (uint8_t y : {43, 44}) {
        SCOPED_TRACE(::testing::Message() << "band at y=" << int(y));
        EXPECT_TRUE(find_texts(y).empty()) << find_text(y);
        EXPECT_TRUE(find_texts(y, TextFace::small).empty()) << find_text(y, TextFace::small);
    }
}

TEST_F(LcdReader, SlightGlyphsStandingWholeAreRead) {
    lcd_text(0, 8, "A-B.C:`'_", 0, 1, 0);
    lcd_text(0, 16, "__Y_~.", 0, 1, 0);
    lcd_text(0, 24, ".", 1, 1, 0);
    lcd_small_text(0, 50, "1.5-2,", 100);
    EXPECT_EQ(find_texts(8), (std::vector<ScreenText>{{"A-B.C:`'_", 0, false}}));
    EXPECT_EQ(find_texts(16), (std::vector<ScreenText>{{"__Y_~.", 0, false}}))
        << "glyphs that ink their last column touch their neighbours";
    EXPECT_EQ(read_double_text(0, 24, 1), ".");
    EXPECT_EQ(read_small_text(0, 50, 6), "1.5-2,");
}

TEST_F(LcdReader, BandAssertionSaysWhatTheBandHolds) {
    lcd_text(0, 32, "LANG: ", 0, 1, 0);
    lcd_text(48, 32, "FRANCAIS", 0, 1, 1);
    EXPECT_TRUE(band_reads(32, "FRANCAIS", Shade::inverted));
    const testing::AssertionResult wrong = band_reads(32, "LANG: FRANCAIS", Shade::inverted);
    ASSERT_FALSE(wrong);
    const std::string message = wrong.message();
    EXPECT_NE(message.find("\"LANG:\" at x=0, plain"), std::string::npos) << message;
    EXPECT_NE(message.find("\"FRANCAIS\" at x=48, inverted"), std::string::npos) << message;
    EXPECT_NE(message.find("\n32  ##......"), std::string::npos) << "the band's pixels\n"
                                                                 << message;
}

} // namespace
