// The frame buffer's layout and the drawing primitives every screen is built from.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "support/lcd_pixels.h"

namespace {

PixelSet row_span(int y, int x_first, int x_last) {
    PixelSet s;
    for (int x = x_first; x <= x_last; ++x) {
        s.insert({x, y});
    }
    return s;
}

PixelSet box(int x_first, int x_last, int y_first, int y_last) {
    PixelSet s;
    for (int y = y_first; y <= y_last; ++y) {
        const PixelSet row = row_span(y, x_first, x_last);
        s.insert(row.begin(), row.end());
    }
    return s;
}

class Framebuffer : public testing::Test {
protected:
    void SetUp() override { lcd_clear(); }
};

TEST_F(Framebuffer, PixelLivesInItsPageByteAtItsRowBit) {
    struct Case {
        uint8_t x, y;
        int byte, bit;
    };
    for (const Case c : {Case{0, 0, 0, 0}, Case{5, 9, 119, 1}, Case{113, 0, 113, 0},
                         Case{0, 63, 798, 7}, Case{113, 63, 911, 7}, Case{57, 36, 513, 4}}) {
        SCOPED_TRACE("pixel (" + std::to_string(c.x) + "," + std::to_string(c.y) + ")");
        lcd_clear();
        lcd_put_pixel(c.x, c.y, PIXEL_SET);
        for (int i = 0; i < LCD_BUFFER_SIZE; ++i) {
            const uint8_t want = i == c.byte ? static_cast<uint8_t>(1u << c.bit) : 0;
            ASSERT_EQ(lcd_buffer[i], want) << "byte " << i;
        }
        EXPECT_EQ(lcd_get_pixel(c.x, c.y), 1);
    }
}

TEST_F(Framebuffer, PixelsOffTheScreenAreDropped) {
    for (auto [x, y] :
         {std::pair<uint8_t, uint8_t>{114, 0}, {0, 64}, {255, 10}, {10, 255}, {200, 200}}) {
        SCOPED_TRACE("pixel (" + std::to_string(x) + "," + std::to_string(y) + ")");
        lcd_put_pixel(x, y, PIXEL_SET);
        lcd_put_pixel(x, y, PIXEL_TOGGLE);
        EXPECT_TRUE(lcd_shows_exactly({}));
    }
}

TEST_F(Framebuffer, ModesClearSetToggleAndOthersWriteNothing) {
    lcd_put_pixel(20, 13, PIXEL_SET);
    lcd_put_pixel(20, 12, PIXEL_SET); // same byte, must survive everything below
    EXPECT_EQ(lcd_get_pixel(20, 13), 1);

    lcd_put_pixel(20, 13, 3);
    lcd_put_pixel(20, 13, 255);
    EXPECT_EQ(lcd_get_pixel(20, 13), 1) << "mode 3 and 255 must leave a dark pixel dark";

    lcd_put_pixel(20, 13, PIXEL_TOGGLE);
    EXPECT_EQ(lcd_get_pixel(20, 13), 0);
    lcd_put_pixel(20, 13, PIXEL_TOGGLE);
    EXPECT_EQ(lcd_get_pixel(20, 13), 1) << "toggling twice restores the pixel";

    lcd_put_pixel(20, 13, PIXEL_CLEAR);
    EXPECT_EQ(lcd_get_pixel(20, 13), 0);
    lcd_put_pixel(20, 13, 3);
    EXPECT_EQ(lcd_get_pixel(20, 13), 0) << "mode 3 must leave a light pixel light";

    EXPECT_TRUE(lcd_shows_exactly({{20, 12}}));
}

TEST_F(Framebuffer, ClearBlanksTheWholeScreen) {
    std::memset(lcd_buffer, 0xA5, sizeof lcd_buffer);
    lcd_clear();
    for (int i = 0; i < LCD_BUFFER_SIZE; ++i) {
        ASSERT_EQ(lcd_buffer[i], 0) << "byte " << i;
    }
}

TEST_F(Framebuffer, LinesLightExactlyTheirBresenhamPixels) {
    struct Case {
        const char* name;
        int32_t x0, y0, x1, y1;
        PixelSet lit;
    };
    const std::vector<Case> cases = {
        {"shallow, left to right", 0, 0, 2, 1, {{0, 0}, {1, 0}, {2, 1}}},
        {"the same line reversed", 2, 1, 0, 0, {{2, 1}, {1, 1}, {0, 0}}},
        {"a single point", 5, 5, 5, 5, {{5, 5}}},
        {"45 degrees", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"steep", 3, 0, 4, 3, {{3, 0}, {3, 1}, {4, 2}, {4, 3}}},
        {"up and to the left", 10, 20, 7, 18, {{10, 20}, {9, 19}, {8, 19}, {7, 18}}},
        {"starting left of the screen", -2, 43, 2, 43, {{0, 43}, {1, 43}, {2, 43}}},
        {"running past the right edge", 99, 4, 118, 4, row_span(4, 99, 113)},
        {"running past the bottom", 50, 60, 50, 70, {{50, 60}, {50, 61}, {50, 62}, {50, 63}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lcd_clear();
        lcd_line(c.x0, c.y0, c.x1, c.y1, PIXEL_SET);
        EXPECT_TRUE(lcd_shows_exactly(c.lit));
    }
}

TEST_F(Framebuffer, LineWritesEveryPointInTheGivenMode) {
    std::memset(lcd_buffer, 0xFF, sizeof lcd_buffer);
    lcd_line(0, 30, 113, 30, PIXEL_CLEAR);
    lcd_line(10, 0, 10, 63, PIXEL_TOGGLE);
    PixelSet want = box(0, 113, 0, 63);
    for (int x = 0; x <= 113; ++x) {
        want.erase({x, 30});
    }
    for (int y = 0; y <= 63; ++y) {
        want.erase({10, y});
    }
    want.insert({10, 30}); // cleared by the first line, toggled back by the second
    EXPECT_TRUE(lcd_shows_exactly(want));
}

TEST_F(Framebuffer, FrameOutlinesTheFullWidthBand) {
    lcd_frame(0, 15, 113, 25, PIXEL_SET);
    PixelSet want = row_span(15, 0, 113);
    const PixelSet bottom = row_span(25, 0, 113);
    want.insert(bottom.begin(), bottom.end());
    for (int y = 15; y <= 25; ++y) {
        want.insert({0, y});
        want.insert({113, y});
    }
    EXPECT_TRUE(lcd_shows_exactly(want));
}

TEST_F(Framebuffer, ToggledFrameInvertsItsEdgesButNotItsCorners) {
    // Each corner belongs to two edges and is toggled twice.
    lcd_frame(0, 15, 113, 25, PIXEL_TOGGLE);
    PixelSet want = row_span(15, 1, 112);
    const PixelSet bottom = row_span(25, 1, 112);
    want.insert(bottom.begin(), bottom.end());
    for (int y = 16; y <= 24; ++y) {
        want.insert({0, y});
        want.insert({113, y});
    }
    EXPECT_TRUE(lcd_shows_exactly(want));
}

TEST_F(Framebuffer, FillCoversColumnsUpToButNotIncludingItsEnd) {
    struct Case {
        const char* name;
        uint8_t x0, y0, x_end, y1;
        PixelSet lit;
    };
    const std::vector<Case> cases = {
        {"three columns", 12, 1, 15, 10, box(12, 14, 1, 10)},
        {"up to the right edge", 109, 8, 114, 20, box(109, 113, 8, 20)},
        {"end at the top of the 8-bit range", 100, 0, 255, 3, box(100, 113, 0, 3)},
        {"empty: start equals end", 20, 0, 20, 5, {}},
        {"empty: start after end", 30, 0, 10, 5, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lcd_clear();
        lcd_fill(c.x0, c.y0, c.x_end, c.y1, PIXEL_SET);
        EXPECT_TRUE(lcd_shows_exactly(c.lit));
    }
}

TEST_F(Framebuffer, ToggledFillInvertsEachPixelOnce) {
    lcd_fill(40, 20, 50, 30, PIXEL_SET);
    lcd_fill(45, 25, 60, 35, PIXEL_TOGGLE);
    PixelSet want = box(40, 49, 20, 30);
    for (const auto& p : box(45, 59, 25, 35)) {
        if (want.erase(p) == 0) {
            want.insert(p);
        }
    }
    EXPECT_TRUE(lcd_shows_exactly(want));
}

} // namespace
