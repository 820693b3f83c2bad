// Reading the frame buffer back: the ASCII dump, the text and numeral reader, and the search
// over the whole screen.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/firmware/screen_pass.h"
#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/numerals.h"
#include "firmware/lcd/text.h"
#include "support/lcd_reader.h"

using namespace txm9;

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
    EXPECT_EQ(read_text(0, 40, 14, text_shade::inverted), "LANG: FRANCAIS");
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
    EXPECT_EQ(find_text(24), (screen_text{"LANG: FRANCAIS", 1, true}));

    lcd_text(3, 48, "12.6V", 0, 1, 0);
    lcd_text(61, 48, "57A", 0, 1, 1);
    EXPECT_EQ(find_texts(48), (std::vector<screen_text>{{"12.6V", 3, false}, {"57A", 61, true}}));
    EXPECT_EQ(find_text(48), (screen_text{"12.6V", 3, false}));
    EXPECT_TRUE(find_texts(8).empty());
    EXPECT_EQ(find_text(8), screen_text{});
}

TEST_F(LcdReader, FindsTheTitleBetweenItsRules) {
    lcd_title(" MAIN MENU ");
    EXPECT_EQ(find_texts(0), (std::vector<screen_text>{{"MAIN MENU", 21, false}}));
}

TEST_F(LcdReader, ReadsDoubleHeightAndSmallText) {
    lcd_text(7, 0, "57A", 1, 1, 0);
    lcd_small_text(10, 20, "CHARGING", 100);
    lcd_small_text(1, 40, "OVER", 0);
    EXPECT_EQ(read_double_text(7, 0, 3), "57A");
    EXPECT_EQ(find_text(0, text_face::double_height), (screen_text{"57A", 7, false}));
    EXPECT_EQ(read_small_text(10, 20, 8), "CHARGING");
    EXPECT_EQ(find_text(20, text_face::small), (screen_text{"CHARGING", 10, false}));
    EXPECT_EQ(find_text(40, text_face::small), (screen_text{"OVER", 1, true}));
    EXPECT_EQ(read_text(7, 0, 3), "???") << "double-height cells are not normal ones";
}

// The lower half of a double-height 'R' is a doubled '`', and the end of a title's rule or
// the top of a picture's frame look like '-' and '_': none of them is text.
TEST_F(LcdReader, SlightGlyphsInsideLargerInkAreNotText) {
    lcd_text_centred(73, 18, "VALEUR", 1, 1, 0);
    lcd_text_centred(73, 36, "A/D", 1, 1, 0);
    EXPECT_TRUE(find_texts(26, text_face::double_height).empty())
        << find_text(26, text_face::double_height);
    lcd_title(" MAIN MENU ");
    EXPECT_TRUE(find_texts(1).empty()) << find_text(1);
    lcd_fill(6, 50, 34, 52, PIXEL_SET);
    for (uint8_t y : {43, 44}) {
        SCOPED_TRACE(::testing::Message() << "band at y=" << int(y));
        EXPECT_TRUE(find_texts(y).empty()) << find_text(y);
        EXPECT_TRUE(find_texts(y, text_face::small).empty()) << find_text(y, text_face::small);
    }
    // The current bar's frame: every cell along its lower edge holds a '_' beside another,
    // but the row of them touches the frame's sides.
    lcd_clear();
    lcd_frame(0, 46, 113, 55, PIXEL_SET);
    lcd_fill(1, 48, 16, 53, PIXEL_SET);
    EXPECT_TRUE(find_all_texts().empty()) << describe_screen_texts();
}

TEST_F(LcdReader, SlightGlyphsStandingWholeAreRead) {
    lcd_text(0, 8, "A-B.C:`'_", 0, 1, 0);
    lcd_text(0, 16, "__Y_~.", 0, 1, 0);
    lcd_text(0, 24, ".", 1, 1, 0);
    lcd_small_text(0, 50, "1.5-2,", 100);
    EXPECT_EQ(find_texts(8), (std::vector<screen_text>{{"A-B.C:`'_", 0, false}}));
    EXPECT_EQ(find_texts(16), (std::vector<screen_text>{{"__Y_~.", 0, false}}))
        << "glyphs that ink their last column touch their neighbours";
    EXPECT_EQ(read_double_text(0, 24, 1), ".");
    EXPECT_EQ(read_small_text(0, 50, 6), "1.5-2,");
}

TEST_F(LcdReader, BandAssertionSaysWhatTheBandHolds) {
    lcd_text(0, 32, "LANG: ", 0, 1, 0);
    lcd_text(48, 32, "FRANCAIS", 0, 1, 1);
    EXPECT_TRUE(band_reads(32, "FRANCAIS", text_shade::inverted));
    const testing::AssertionResult wrong = band_reads(32, "LANG: FRANCAIS", text_shade::inverted);
    ASSERT_FALSE(wrong);
    const std::string message = wrong.message();
    EXPECT_NE(message.find("\"LANG:\" at x=0, plain"), std::string::npos) << message;
    EXPECT_NE(message.find("\"FRANCAIS\" at x=48, inverted"), std::string::npos) << message;
    EXPECT_NE(message.find("\n32  ##......"), std::string::npos) << "the band's pixels\n"
                                                                 << message;
}

struct NumeralCase {
    const char* name;
    text_face face;
    const char* drawn;
    uint8_t x, y;
    screen_text expected;
};

// Signs and the point are narrower than digits and blanks, so the cells follow the pen as
// the numerals move it; a plain blank inside a reading is a space, one in front is dropped.
TEST_F(LcdReader, ReadsNumeralsWhereverThePenTakesThem) {
    const NumeralCase cases[] = {
        {"large reading", text_face::large_numerals, "12.6", 25, 9, {"12.6", 25, false}},
        {"large minus after a blank",
         text_face::large_numerals,
         " -3.5",
         3,
         0,
         {"-3.5", 25, false}},
        {"medium minus", text_face::medium_numerals, "-8.8", 7, 33, {"-8.8", 7, false}},
        {"medium blank inside", text_face::medium_numerals, "+1 0.5", 9, 5, {"+1 0.5", 9, false}},
    };
    for (const NumeralCase& c : cases) {
        SCOPED_TRACE(c.name);
        lcd_clear();
        const bool large = c.face == text_face::large_numerals;
        (large ? lcd_digits_large : lcd_digits_medium)(c.x, c.y, c.drawn);
        EXPECT_TRUE(band_shows(c.y, {c.expected}, c.face));
        const text_face other = large ? text_face::medium_numerals : text_face::large_numerals;
        EXPECT_TRUE(find_texts(c.y, other).empty()) << find_text(c.y, other);
        EXPECT_TRUE(find_texts(c.y + 1, c.face).empty()) << find_text(c.y + 1, c.face);
    }
}

class ScreenSearch : public screen_test::ScreenTest {};

// The voltage page as the firmware draws it: the reading in large numerals, its unit, its
// peak; the pieces of them that other bands and faces also match are not texts of their own.
TEST_F(ScreenSearch, FindsTheMainDisplaysReadingAndNothingButItsTexts) {
    open(screen_main);
    blink_phase = 1;
    volts_dv = 126;
    peak_volts_dv = 131;
    screen_test::show_main(1, 0);

    EXPECT_TRUE(band_shows(9, {plain("12.6", 25)}, text_face::large_numerals));
    const std::vector<found_text> expected = {
        {"12.6", text_face::large_numerals, 25, 9, false},
        {"V", text_face::double_height, 106, 25, false},
        {"MAX: 13.1V", text_face::normal, 16, 50, false},
    };
    EXPECT_EQ(find_all_texts(), expected) << describe_screen_texts();
    EXPECT_NE(describe_screen_texts().find("large numerals x=25 y=9 plain \"12.6\"\n"),
              std::string::npos)
        << describe_screen_texts();

    // Within one text, and without cutting a word or a number.
    const struct {
        const char* text;
        bool shown;
    } searches[] = {
        {"12.6", true}, {"13.1V", true}, {"MAX:", true}, {"V", true},
        {"2.6", false}, {"12", false},   {"MA", false},  {"12.6 V", false},
    };
    for (const auto& s : searches) {
        EXPECT_EQ(screen_shows(s.text), s.shown) << s.text << "\n" << describe_screen_texts();
    }
    EXPECT_TRUE(screen_shows("12.6", false));
    EXPECT_FALSE(screen_shows("12.6", true));
}

} // namespace
