// The icon sheet's pictures and their placement: whole bytes copied to fixed places, blank
// bytes included, negative first columns wrapping into the page above.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icon_sheet.h"
#include "firmware/lcd/icons.h"
#include "support/lcd_pixels.h"

using namespace txm9;

namespace {

bool sheet_dark(int x, int y) {
    return (icon_sheet[128 * (y / 8) + x] >> (y % 8) & 1) != 0;
}

// Fills the screen with dark pixels, so that every byte an icon writes shows.
void darken_screen() {
    std::memset(lcd_buffer, 0xFF, sizeof lcd_buffer);
}

struct Placement {
    int index;
    int source; // sheet offset of the top-left byte
    int page;   // first page on the screen
    int column; // first column on the screen
};

const Placement placements[] = {
    {0, 0, 2, 4},   {1, 32, 2, 4},   {2, 64, 2, 4},  {3, 96, 2, 4}, {4, 512, 1, 4},
    {5, 544, 2, 4}, {6, 576, 1, -3}, {7, 608, 2, 4}, {8, 0, 3, -2}, {9, 576, 1, -3},
};

TEST(Icons, EachPlacementCopiesItsCellByWholeBytes) {
    for (const Placement& p : placements) {
        SCOPED_TRACE("icon " + std::to_string(p.index));
        std::array<uint8_t, LCD_BUFFER_SIZE> expected;
        expected.fill(0xFF);
        for (int q = 0; q < 4; ++q) {
            for (int k = 0; k < 32; ++k) {
                expected[(p.page + q) * LCD_WIDTH + p.column + k] =
                    icon_sheet[p.source + 128 * q + k];
            }
        }
        darken_screen();
        lcd_icon(static_cast<uint8_t>(p.index));
        int wrong = 0;
        for (int i = 0; i < LCD_BUFFER_SIZE; ++i) {
            wrong += lcd_buffer[i] != expected[i] ? 1 : 0;
        }
        EXPECT_EQ(wrong, 0) << "bytes differ; drawn:\n" << lcd_dump();
    }
}

TEST(Icons, ExitPictureReplacesEverythingBeneath) {
    darken_screen();
    lcd_icon(1);
    int blanked = 0;
    for (int y = 16; y <= 47; ++y) {
        for (int x = 4; x <= 35; ++x) {
            ASSERT_EQ(lcd_dark(x, y), sheet_dark(32 + x - 4, y - 16))
                << "pixel (" << x << ", " << y << ")\n"
                << lcd_dump_rows(8, 55);
            blanked += lcd_dark(x, y) ? 0 : 1;
        }
    }
    EXPECT_GT(blanked, 300) << "the picture's blank pixels clear what lay beneath";
    EXPECT_EQ(lcd_ink_box(0, 0, 113, 15), (InkBox{false, 0, 0, 113, 15}));
    EXPECT_TRUE(lcd_dark(3, 30) && lcd_dark(36, 30) && lcd_dark(20, 48)) << "around it untouched";
}

TEST(Icons, SmallBatteryShiftsItsBlankColumnsIntoThePageAbove) {
    darken_screen();
    lcd_icon(6);
    for (int page = 0; page <= 3; ++page) {
        for (int x = 111; x <= 113; ++x) {
            EXPECT_EQ(static_cast<int>(lcd_buffer[page * LCD_WIDTH + x]), 0)
                << "page " << page << " column " << x << " takes a blank cell column";
        }
    }
    for (int page = 1; page <= 4; ++page) {
        for (int x = 0; x <= 28; ++x) {
            EXPECT_EQ(static_cast<int>(lcd_buffer[page * LCD_WIDTH + x]),
                      static_cast<int>(icon_sheet[128 * (page + 3) + 64 + 3 + x]))
                << "page " << page << " column " << x;
        }
    }
    lcd_clear();
    lcd_icon(6);
    EXPECT_EQ(lcd_ink_box(0, 0, 113, 63), (InkBox{false, 6, 14, 20, 39})) << lcd_dump();
}

TEST(Icons, LargeBatteryOnTheCombinedPage) {
    darken_screen();
    lcd_icon(8);
    for (int page = 2; page <= 5; ++page) {
        for (int x = 112; x <= 113; ++x) {
            EXPECT_EQ(static_cast<int>(lcd_buffer[page * LCD_WIDTH + x]), 0)
                << "page " << page << " column " << x;
        }
    }
    lcd_clear();
    lcd_icon(8);
    EXPECT_EQ(lcd_ink_box(0, 0, 113, 63), (InkBox{false, 5, 24, 23, 54})) << lcd_dump();
}

TEST(Icons, IndexBeyondTheTableDrawsNothing) {
    darken_screen();
    for (int index : {10, 11, 255}) {
        lcd_icon(static_cast<uint8_t>(index));
    }
    for (int i = 0; i < LCD_BUFFER_SIZE; ++i) {
        ASSERT_EQ(static_cast<int>(lcd_buffer[i]), 0xFF) << "byte " << i;
    }
}

struct CellExtent {
    const char* picture;
    int sheet_x, sheet_y; // the cell's top-left pixel on the sheet
    InkBox ink;           // within the cell
};

const CellExtent cells[] = {
    {"large battery cell", 0, 0, {false, 7, 0, 25, 30}},
    {"exit ring", 32, 0, {false, 0, 0, 31, 30}},
    {"tools", 64, 0, {false, 1, 0, 30, 28}},
    {"framed screen with sine wave", 96, 0, {false, 1, 2, 30, 30}},
    {"question mark ring", 0, 32, {false, 0, 1, 31, 31}},
    {"exclamation mark ring", 32, 32, {false, 0, 1, 31, 31}},
    {"small battery cell", 64, 32, {false, 9, 6, 23, 31}},
    {"television", 96, 32, {false, 2, 0, 29, 29}},
};

TEST(IconSheet, PicturesStayWithinTheirExtents) {
    for (const CellExtent& c : cells) {
        SCOPED_TRACE(c.picture);
        auto dark = [&](int x, int y) { return sheet_dark(c.sheet_x + x, c.sheet_y + y); };
        EXPECT_EQ(ink_box(0, 0, 31, 31, dark), c.ink) << "\n" << pixel_art(0, 0, 31, 31, dark);
    }
}

// The message screen's exclamation mark and the question mark are the same ring.
TEST(IconSheet, QuestionAndExclamationShareTheirRing) {
    int differing_outside = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const bool inside = ((x - 15.5) * (x - 15.5) + (y - 16.5) * (y - 16.5)) < 11.5 * 11.5;
            if (!inside && sheet_dark(x, 32 + y) != sheet_dark(32 + x, 32 + y)) {
                ++differing_outside;
            }
        }
    }
    EXPECT_EQ(differing_outside, 0);
}

} // namespace
