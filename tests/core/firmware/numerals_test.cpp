// The main display's numerals: where digits, blanks, signs and points land, how they add ink
// to what is there, and the digit artwork's rows, widths and strokes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/numeral_tables.h"
#include "firmware/lcd/numerals.h"
#include "support/lcd_pixels.h"

using namespace txm9;

namespace {

enum class Size { large, medium };

// One pixel of a digit's bitmap, read in the tables' own layouts.
bool large_digit_bit(char digit, int column, int row) {
    const uint8_t byte = numerals_large[88 * (digit - 45) + 22 * (row / 8) + column];
    return (byte >> (row % 8) & 1) != 0;
}

bool medium_digit_bit(char digit, int column, int row) {
    const uint8_t byte = numerals_medium[180 * (row / 8) + 18 * (digit - '0') + column];
    return (byte >> (row % 8) & 1) != 0;
}

bool in(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}

// Whether the character drawn with its pen at (0, 0) darkens (dx, dy): the digit bitmaps, and
// the signs and points as the instrument draws them with lines.
bool shape(Size size, char c, int dx, int dy) {
    const bool large = size == Size::large;
    if (c >= '0' && c <= '9') {
        const int width = large ? 22 : 18;
        const int height = large ? 32 : 24;
        if (!in(dx, 0, width - 1) || !in(dy, 0, height - 1)) {
            return false;
        }
        return large ? large_digit_bit(c, dx, dy) : medium_digit_bit(c, dx, dy);
    }
    const bool bar = large ? in(dy, 13, 16) && in(dx, 0, 11) : in(dy, 9, 11) && in(dx, 0, 8);
    switch (c) {
    case '-':
        return bar;
    case '+':
        return bar || (large ? in(dx, 4, 7) && in(dy, 9, 20) : in(dx, 3, 6) && in(dy, 6, 14));
    case '.':
        if (large) {
            return (dx == 2 && in(dy, 27, 28)) || (in(dx, 3, 5) && in(dy, 26, 29)) ||
                   (dx == 6 && in(dy, 27, 28));
        }
        return (dx == 3 && in(dy, 20, 21)) || (in(dx, 4, 5) && in(dy, 19, 22)) ||
               (dx == 6 && in(dy, 20, 21));
    default:
        return false;
    }
}

void draw(Size size, int x, int y, const char* text) {
    if (size == Size::large) {
        lcd_digits_large(static_cast<uint8_t>(x), static_cast<uint8_t>(y), text);
    } else {
        lcd_digits_medium(static_cast<uint8_t>(x), static_cast<uint8_t>(y), text);
    }
}

struct Placed {
    char c;
    int x; // pen column of the character
};

struct LayoutCase {
    const char* name;
    Size size;
    const char* text;
    int x, y;
    std::vector<Placed> expected;
};

// The screen as it should look: the placed characters' pixels that fall on the screen.
bool expected_dark(const LayoutCase& t, int x, int y) {
    for (const Placed& p : t.expected) {
        if (shape(t.size, p.c, x - p.x, y - t.y)) {
            return true;
        }
    }
    return false;
}

void expect_screen(const LayoutCase& t, bool (*also_dark)(int, int)) {
    PixelSet want;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            if (expected_dark(t, x, y) || (also_dark != nullptr && also_dark(x, y))) {
                want.insert({x, y});
            }
        }
    }
    EXPECT_TRUE(lcd_shows_exactly(want)) << "pixels differ from the expected reading";
}

const std::vector<LayoutCase> layout_cases = {
    {"large 12.5 on the voltage page",
     Size::large,
     "12.5",
     25,
     9,
     {{'1', 25}, {'2', 47}, {'.', 69}, {'5', 81}}},
    {"large leading blank only advances",
     Size::large,
     " 5.0",
     25,
     9,
     {{'5', 47}, {'.', 69}, {'0', 81}}},
    {"large 57.6", Size::large, "57.6", 25, 9, {{'5', 25}, {'7', 47}, {'.', 69}, {'6', 81}}},
    {"large minus bar, next character 14 on", Size::large, "-1", 30, 11, {{'-', 30}, {'1', 44}}},
    {"large plus", Size::large, "+8", 0, 2, {{'+', 0}, {'8', 14}}},
    {"large integer current", Size::large, "  7", 30, 11, {{'7', 74}}},
    {"large clipped at the right edge", Size::large, "88", 100, 0, {{'8', 100}}},
    {"large clipped at the bottom", Size::large, "0", 50, 40, {{'0', 50}}},
    {"large pen wraps at 256", Size::large, "            8", 0, 0, {{'8', 8}}},
    {"other characters draw nothing and stay put",
     Size::large,
     "1x/1",
     0,
     0,
     {{'1', 0}, {'1', 22}}},
    {"medium 9.9: point takes 12", Size::medium, "9.9", 0, 2, {{'9', 0}, {'.', 18}, {'9', 30}}},
    {"medium 12.6 ends at column 94",
     Size::medium,
     "12.6",
     29,
     2,
     {{'1', 29}, {'2', 47}, {'.', 65}, {'6', 77}}},
    {"medium integer 25 ends at column 94", Size::medium, " 25", 41, 30, {{'2', 59}, {'5', 77}}},
    {"medium minus bar",
     Size::medium,
     "-4.7",
     29,
     30,
     {{'-', 29}, {'4', 41}, {'.', 59}, {'7', 71}}},
    {"medium plus", Size::medium, "+1", 0, 0, {{'+', 0}, {'1', 12}}},
    {"medium all digits",
     Size::medium,
     "012345",
     0,
     0,
     {{'0', 0}, {'1', 18}, {'2', 36}, {'3', 54}, {'4', 72}, {'5', 90}}},
    {"large all digits", Size::large, "6789", 0, 0, {{'6', 0}, {'7', 22}, {'8', 44}, {'9', 66}}},
};

TEST(Numerals, CharactersLandWhereTheReadingPutsThem) {
    for (const LayoutCase& t : layout_cases) {
        SCOPED_TRACE(t.name);
        lcd_clear();
        draw(t.size, t.x, t.y, t.text);
        expect_screen(t, nullptr);
    }
}

TEST(Numerals, LargePointIsABlockWithCutCorners) {
    lcd_clear();
    lcd_digits_large(25, 9, "12.5");
    const std::string expected = // rows 34..39
        art(".......", "..###..", ".#####.", ".#####.", "..###..", ".......");
    EXPECT_EQ(lcd_region_art(70, 34, 76, 39), expected) << "the point of 12.5, columns 70..76";
    EXPECT_EQ(lcd_ink_box(69, 0, 80, 63), (InkBox{false, 71, 35, 75, 38}))
        << "nothing else between the 2 and the 5";
}

bool inverted_band(int, int y) {
    return in(y, 20, 27);
}

TEST(Numerals, AddInkOverAnInvertedBand) {
    const LayoutCase cases[] = {
        {"large", Size::large, "-8.3", 10, 9, {{'-', 10}, {'8', 24}, {'.', 46}, {'3', 58}}},
        {"medium", Size::medium, "+0.7", 10, 12, {{'+', 10}, {'0', 22}, {'.', 40}, {'7', 52}}},
    };
    for (const LayoutCase& t : cases) {
        SCOPED_TRACE(t.name);
        lcd_clear();
        lcd_fill(0, 20, LCD_WIDTH, 27, PIXEL_SET);
        draw(t.size, t.x, t.y, t.text);
        expect_screen(t, inverted_band);
    }
}

// The runs of ink along one column (vertical) or one row (horizontal) of a digit's cell.
std::vector<int> runs(Size size, char digit, bool along_column, int at) {
    const int length =
        along_column ? (size == Size::large ? 32 : 24) : (size == Size::large ? 22 : 18);
    std::vector<int> found;
    int run = 0;
    for (int i = 0; i <= length; ++i) {
        const bool dark =
            i < length && (along_column ? shape(size, digit, at, i) : shape(size, digit, i, at));
        if (dark) {
            ++run;
        } else if (run > 0) {
            found.push_back(run);
            run = 0;
        }
    }
    return found;
}

std::string list(const std::vector<int>& v) {
    std::string s;
    for (int n : v) {
        s += std::to_string(n) + " ";
    }
    return s;
}

struct FaceMetrics {
    const char* name;
    Size size;
    int last_column; // of the ink; the rest of the advance is spacing
    int last_row;    // of the ink, where the point rests
    int stem;        // width of the upright strokes
    int bar;         // height of the horizontal strokes
    int centre;      // column through the middle of the digits
    int upper_row;   // a row through the upper counters
    int lower_row;   // a row through the lower counters
};

const FaceMetrics faces[] = {
    {"large", Size::large, 19, 29, 6, 5, 10, 8, 21},
    {"medium", Size::medium, 15, 22, 4, 4, 8, 6, 16},
};

TEST(NumeralArtwork, DigitsFillRowsAndColumnsAlike) {
    for (const FaceMetrics& f : faces) {
        const int width = f.size == Size::large ? 22 : 18;
        const int height = f.size == Size::large ? 32 : 24;
        for (char d = '0'; d <= '9'; ++d) {
            SCOPED_TRACE(std::string(f.name) + " '" + d + "'");
            auto dark = [&](int x, int y) { return shape(f.size, d, x, y); };
            const InkBox box = ink_box(0, 0, width - 1, height - 1, dark);
            const std::string picture = "\n" + pixel_art(0, 0, width - 1, height - 1, dark);
            ASSERT_FALSE(box.empty);
            EXPECT_EQ(box.top, 0) << picture;
            EXPECT_EQ(box.bottom, f.last_row) << "point and digits share the bottom row" << picture;
            EXPECT_LE(box.right, f.last_column) << "blank columns keep neighbours apart" << picture;
            if (d != '1') {
                EXPECT_EQ(box.left, 0) << picture;
                EXPECT_EQ(box.right, f.last_column) << "digits are equally wide" << picture;
            }
        }
    }
}

TEST(NumeralArtwork, LargeCellsOfTheSignsAreBlank) {
    for (char c : {'-', '.', '/'}) {
        SCOPED_TRACE(std::string("cell of '") + c + "'");
        for (int i = 0; i < 88; ++i) {
            EXPECT_EQ(static_cast<int>(numerals_large[88 * (c - 45) + i]), 0) << "byte " << i;
        }
    }
}

TEST(NumeralArtwork, StrokesAreBold) {
    for (const FaceMetrics& f : faces) {
        // Horizontal strokes crossed by the centre column: top, middle and bottom.
        for (char d : {'3', '5', '6', '8', '9'}) {
            SCOPED_TRACE(std::string(f.name) + " '" + d + "' centre column");
            EXPECT_EQ(runs(f.size, d, true, f.centre), std::vector<int>(3, f.bar))
                << list(runs(f.size, d, true, f.centre));
        }
        SCOPED_TRACE(std::string(f.name) + " '0' centre column");
        EXPECT_EQ(runs(f.size, '0', true, f.centre), std::vector<int>(2, f.bar));
        // Upright strokes either side of the counters.
        const struct {
            char digit;
            int row;
            int strokes;
        } uprights[] = {{'0', f.upper_row, 2}, {'0', f.lower_row, 2},   {'8', f.upper_row, 2},
                        {'8', f.lower_row, 2}, {'6', f.lower_row, 2},   {'9', f.upper_row, 2},
                        {'1', f.lower_row, 1}, {'4', f.last_row - 2, 1}};
        for (const auto& u : uprights) {
            SCOPED_TRACE(std::string(f.name) + " '" + u.digit + "' row " + std::to_string(u.row));
            EXPECT_EQ(runs(f.size, u.digit, false, u.row), std::vector<int>(u.strokes, f.stem))
                << list(runs(f.size, u.digit, false, u.row));
        }
    }
}

// Drawn side by side through the routines: the minus bar lies within an 8's middle stroke and
// the point's bottom row is the 8's.
TEST(NumeralArtwork, BarAndPointSitAgainstTheDigits) {
    for (const FaceMetrics& f : faces) {
        SCOPED_TRACE(f.name);
        lcd_clear();
        draw(f.size, 0, 10, "-8.");
        const int bar_column = 4;
        const int eight_centre = (f.size == Size::large ? 14 : 12) + f.centre;
        const InkBox bar = lcd_ink_box(bar_column, 0, bar_column, 63);
        for (int y = bar.top; y <= bar.bottom; ++y) {
            EXPECT_TRUE(lcd_dark(eight_centre, y)) << "bar row " << y << "\n"
                                                   << lcd_dump_rows(8, 40);
        }
        const int point_x = (f.size == Size::large ? 14 + 22 : 12 + 18) + 4;
        const InkBox point = lcd_ink_box(point_x, 0, point_x, 63);
        const InkBox eight = lcd_ink_box(eight_centre, 0, eight_centre, 63);
        EXPECT_EQ(point.bottom, eight.bottom) << "\n" << lcd_dump_rows(8, 40);
    }
}

} // namespace
