// The shape rules of both fonts, checked over every glyph of their tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/lcd/fonts.h"
#include "firmware/lcd/framebuffer.h"

namespace {

// Pixel (column k, row r) of an 8 x 8 glyph.
bool ink_8x8(int code, int k, int r) {
    return (font_8x8[(code - FONT_FIRST_CODE) * 8 + k] & pixel_bit_mask[r]) != 0;
}

// Pixel (column k, row r) of a small glyph's 5 x 7 box, row 0 at the top (bit 6).
bool ink_small(int code, int k, int r) {
    return (font_small[(code - FONT_FIRST_CODE) * 5 + k] & pixel_bit_mask[6 - r]) != 0;
}

std::string name(int code) {
    return code >= 33 && code <= 126 ? "'" + std::string(1, static_cast<char>(code)) + "'"
                                     : "code " + std::to_string(code);
}

// The glyph as rows of '#' and '.', for failure messages.
std::string art_8x8(int code) {
    std::string s;
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
            s += ink_8x8(code, k, r) ? '#' : '.';
        }
        s += '\n';
    }
    return s;
}

std::string art_small(int code) {
    std::string s;
    for (int r = 0; r < 7; ++r) {
        for (int k = 0; k < 5; ++k) {
            s += ink_small(code, k, r) ? '#' : '.';
        }
        s += '\n';
    }
    return s;
}

int count_8x8(int code) {
    int n = 0;
    for (int k = 0; k < 8; ++k) {
        for (int r = 0; r < 8; ++r) {
            n += ink_8x8(code, k, r) ? 1 : 0;
        }
    }
    return n;
}

bool is_one_of(int code, const std::string& set) {
    return set.find(static_cast<char>(code)) != std::string::npos;
}

TEST(Font8x8, OnlyDescendersAndUnderscoreReachRowSeven) {
    const std::string descenders = "gjpqyQ,;_";
    for (int code = FONT_FIRST_CODE; code <= FONT_8X8_LAST_CODE; ++code) {
        bool row7 = false;
        for (int k = 0; k < 8; ++k) {
            row7 = row7 || ink_8x8(code, k, 7);
        }
        EXPECT_EQ(row7, is_one_of(code, descenders)) << name(code) << "\n" << art_8x8(code);
    }
}

TEST(Font8x8, OnlyYBackslashUnderscoreAndKnobReachColumnSeven) {
    const std::string wide = "Y\\_~";
    for (int code = FONT_FIRST_CODE; code <= FONT_8X8_LAST_CODE; ++code) {
        EXPECT_EQ(font_8x8[(code - FONT_FIRST_CODE) * 8 + 7] != 0, is_one_of(code, wide))
            << name(code) << "\n"
            << art_8x8(code);
    }
}

TEST(Font8x8, CapitalsAndDigitsAreDrawnWithTwoPixelStrokes) {
    // A bold face: every ink pixel has an ink neighbour to its left or right, save at most
    // one, the tip where two strokes meet (the middle of M and W, the slash of 0).
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
        int single = 0;
        for (int r = 0; r < 8; ++r) {
            for (int k = 0; k < 8; ++k) {
                const bool left = k > 0 && ink_8x8(c, k - 1, r);
                const bool right = k < 7 && ink_8x8(c, k + 1, r);
                single += ink_8x8(c, k, r) && !left && !right ? 1 : 0;
            }
        }
        EXPECT_LE(single, 1) << name(c) << "\n" << art_8x8(c);
    }
}

TEST(Font8x8, EveryGlyphButTheBlankHasInkAndNoTwoAreAlike) {
    EXPECT_EQ(count_8x8(' '), 0);
    for (int a = FONT_FIRST_CODE + 1; a <= FONT_8X8_LAST_CODE; ++a) {
        EXPECT_GT(count_8x8(a), 0) << name(a);
        for (int b = a + 1; b <= FONT_8X8_LAST_CODE; ++b) {
            bool same = true;
            for (int k = 0; k < 8; ++k) {
                same = same && font_8x8[(a - 32) * 8 + k] == font_8x8[(b - 32) * 8 + k];
            }
            EXPECT_FALSE(same) << name(a) << " and " << name(b) << " look the same";
        }
    }
}

TEST(Font8x8, LookalikeCapitalsAndDigitsDifferClearly) {
    for (const char* pair : {"0O", "1I", "5S", "8B", "2Z", "0D", "6G", "7T"}) {
        int differing = 0;
        for (int k = 0; k < 8; ++k) {
            for (int r = 0; r < 8; ++r) {
                differing += ink_8x8(pair[0], k, r) != ink_8x8(pair[1], k, r) ? 1 : 0;
            }
        }
        EXPECT_GE(differing, 3) << pair << "\n" << art_8x8(pair[0]) << "\n" << art_8x8(pair[1]);
    }
}

// The arrows: solid triangles over rows 2..5, 1, 3, 5 and 7 pixels wide (or the reverse),
// centred on column 3.
TEST(Font8x8, BracesAreTheUpAndDownArrows) {
    const int up_widths[8] = {0, 0, 1, 3, 5, 7, 0, 0};
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
            const int half_up = (up_widths[r] - 1) / 2;
            const bool up = up_widths[r] > 0 && k >= 3 - half_up && k <= 3 + half_up;
            const int down_width = r >= 2 && r <= 5 ? up_widths[7 - r] : 0;
            const int half_down = (down_width - 1) / 2;
            const bool down = down_width > 0 && k >= 3 - half_down && k <= 3 + half_down;
            EXPECT_EQ(ink_8x8('{', k, r), up) << "'{' column " << k << " row " << r << "\n"
                                              << art_8x8('{');
            EXPECT_EQ(ink_8x8('}', k, r), down) << "'}' column " << k << " row " << r << "\n"
                                                << art_8x8('}');
        }
    }
}

TEST(Font8x8, VerticalBarIsASmallDegreeRing) {
    // A ring filling rows 0..3, columns 2..5: each side drawn, the middle open, nothing
    // outside.
    for (int r = 0; r < 8; ++r) {
        for (int k = 0; k < 8; ++k) {
            const bool inside_box = r <= 3 && k >= 2 && k <= 5;
            const bool corner = (r == 0 || r == 3) && (k == 2 || k == 5);
            const bool middle = (r == 1 || r == 2) && (k == 3 || k == 4);
            EXPECT_EQ(ink_8x8('|', k, r), inside_box && !corner && !middle)
                << "column " << k << " row " << r << "\n"
                << art_8x8('|');
        }
    }
}

TEST(Font8x8, TildeIsTheKnobsCircularArrow) {
    const int knob = '~';
    const std::string art = art_8x8(knob);
    bool top = false, bottom = false, left = false;
    for (int k = 0; k < 8; ++k) {
        top = top || ink_8x8(knob, k, 0);
        bottom = bottom || ink_8x8(knob, k, 6);
    }
    for (int r = 2; r <= 4; ++r) {
        left = left || ink_8x8(knob, 0, r);
    }
    EXPECT_TRUE(top && bottom && left) << "a ring over rows 0..6\n" << art;
    for (int k = 0; k < 8; ++k) {
        EXPECT_FALSE(ink_8x8(knob, k, 7)) << art;
    }
    // Open on the right: some row of the lower half has no ink right of the centre.
    bool open = false;
    for (int r = 4; r <= 6; ++r) {
        bool right = false;
        for (int k = 4; k < 8; ++k) {
            right = right || ink_8x8(knob, k, r);
        }
        open = open || !right;
    }
    EXPECT_TRUE(open) << "the ring must be open on the right\n" << art;
    // The arrow head sits at the upper right end and is the one thing reaching column 7.
    bool head = false;
    for (int r = 0; r < 8; ++r) {
        if (ink_8x8(knob, 7, r)) {
            EXPECT_LE(r, 3) << "arrow head below the upper half\n" << art;
            head = true;
        }
    }
    EXPECT_TRUE(head) << art;
}

TEST(FontSmall, NoGlyphUsesTheRowAboveItsBox) {
    for (std::size_t i = 0; i < font_small.size(); ++i) {
        EXPECT_EQ(font_small[i] & 0x80, 0)
            << name(static_cast<int>(i / 5) + FONT_FIRST_CODE) << " column " << i % 5;
    }
}

TEST(FontSmall, EveryGlyphButTheBlankHasInkAndNoTwoAreAlike) {
    auto same = [](int a, int b) {
        for (int k = 0; k < 5; ++k) {
            if (font_small[(a - 32) * 5 + k] != font_small[(b - 32) * 5 + k]) {
                return false;
            }
        }
        return true;
    };
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(font_small[k], 0) << "the blank";
    }
    for (int a = FONT_FIRST_CODE + 1; a <= FONT_SMALL_LAST_CODE; ++a) {
        int ink = 0;
        for (int k = 0; k < 5; ++k) {
            ink += font_small[(a - 32) * 5 + k] != 0 ? 1 : 0;
        }
        EXPECT_GT(ink, 0) << name(a);
        for (int b = a + 1; b <= FONT_SMALL_LAST_CODE; ++b) {
            // '}' is drawn as omega, which is also stored as its own glyph behind the table.
            if (a == '}' && b == 127) {
                EXPECT_TRUE(same(a, b)) << "'}' must be the omega sign\n" << art_small(a);
                continue;
            }
            EXPECT_FALSE(same(a, b)) << name(a) << " and " << name(b) << " look the same";
        }
    }
}

TEST(FontSmall, LookalikeCapitalsAndDigitsDiffer) {
    for (const char* pair : {"0O", "1I", "5S", "8B", "2Z"}) {
        int differing = 0;
        for (int k = 0; k < 5; ++k) {
            for (int r = 0; r < 7; ++r) {
                differing += ink_small(pair[0], k, r) != ink_small(pair[1], k, r) ? 1 : 0;
            }
        }
        EXPECT_GE(differing, 3) << pair << "\n" << art_small(pair[0]) << "\n" << art_small(pair[1]);
    }
}

TEST(FontSmall, VerticalBarIsADegreeRingInTheTopFourRows) {
    const std::string art = art_small('|');
    int ink_top = 0;
    for (int r = 0; r < 7; ++r) {
        for (int k = 0; k < 5; ++k) {
            if (r >= 4) {
                EXPECT_FALSE(ink_small('|', k, r)) << "row " << r << "\n" << art;
            } else {
                ink_top += ink_small('|', k, r) ? 1 : 0;
            }
        }
    }
    EXPECT_GE(ink_top, 6) << art;
    // A ring: some pixel of rows 1..2 is light with ink on both sides of it.
    bool hole = false;
    for (int r = 1; r <= 2; ++r) {
        for (int k = 1; k < 4; ++k) {
            hole = hole || (!ink_small('|', k, r) && ink_small('|', k - 1, r) &&
                            (ink_small('|', k + 1, r) || (k + 2 < 5 && ink_small('|', k + 2, r))));
        }
    }
    EXPECT_TRUE(hole) << art;
}

TEST(FontSmall, TildeIsAChevronInTheBottomThreeRows) {
    const std::string art = art_small('~');
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < 5; ++k) {
            EXPECT_FALSE(ink_small('~', k, r)) << "row " << r << "\n" << art;
        }
    }
    // A 'v': two arms in row 4 closing to a single point in row 6.
    int row4 = 0, row6 = 0;
    for (int k = 0; k < 5; ++k) {
        row4 += ink_small('~', k, 4) ? 1 : 0;
        row6 += ink_small('~', k, 6) ? 1 : 0;
    }
    EXPECT_EQ(row4, 2) << art;
    EXPECT_EQ(row6, 1) << art;
}

TEST(FontSmall, ArrowsPointUpDownAndBothWays) {
    for (int k = 0; k < 5; ++k) {
        for (int r = 0; r < 7; ++r) {
            EXPECT_EQ(ink_small(129, k, r), ink_small(128, k, 6 - r))
                << "down arrow is the up arrow upside down\n"
                << art_small(128) << art_small(129);
            EXPECT_EQ(ink_small(130, k, r), ink_small(130, k, 6 - r))
                << "the up-down arrow is symmetric\n"
                << art_small(130);
        }
    }
    // The up arrow's tip: one pixel in the top row, three in the row below.
    int top = 0, second = 0;
    for (int k = 0; k < 5; ++k) {
        top += ink_small(128, k, 0) ? 1 : 0;
        second += ink_small(128, k, 1) ? 1 : 0;
    }
    EXPECT_EQ(top, 1) << art_small(128);
    EXPECT_EQ(second, 3) << art_small(128);
}

} // namespace
