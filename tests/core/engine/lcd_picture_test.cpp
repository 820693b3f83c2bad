// The display as a picture, which screenshots, recordings and reference frames all use: each
// pixel a scale x scale block, the margin only at the right and bottom.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/lcd_changes.h"
#include "engine/lcd_picture.h"
#include "firmware/lcd/framebuffer.h"

using namespace txm9;

TEST(LcdPicture, EveryPixelIsABlockAndTheMarginOnlyRightAndBelow) {
    constexpr lcd_colours colours{1, 2, 3}; // lit, unlit, margin
    lcd_clear();
    lcd_put_pixel(0, 0, PIXEL_SET);
    lcd_put_pixel(113, 63, PIXEL_SET);
    for (const int scale : {1, 2, 3}) {
        for (const bool margin : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "scale " << scale << ", margin " << margin);
            const int width = lcd_picture_width(scale, margin);
            const int height = lcd_picture_height(scale, margin);
            ASSERT_EQ(width, 114 * scale + (margin ? 1 : 0));
            ASSERT_EQ(height, 64 * scale + (margin ? 3 : 0));
            const std::vector<uint32_t> picture = lcd_picture(scale, colours, margin);
            ASSERT_EQ(picture.size(), static_cast<std::size_t>(width * height));
            int lit = 0;
            int margins = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const uint32_t p = picture[static_cast<std::size_t>(y * width + x)];
                    const bool outside = x >= 114 * scale || y >= 64 * scale;
                    EXPECT_EQ(p == 3, outside) << "at " << x << ", " << y;
                    const bool corner = (x < scale && y < scale) ||
                                        (!outside && x >= 113 * scale && y >= 63 * scale);
                    EXPECT_EQ(p == 1, corner) << "at " << x << ", " << y;
                    lit += p == 1 ? 1 : 0;
                    margins += p == 3 ? 1 : 0;
                }
            }
            EXPECT_EQ(lit, 2 * scale * scale);
            EXPECT_EQ(margins, margin ? width * height - 114 * 64 * scale * scale : 0);
        }
    }
}

TEST(LcdPicture, ARectangleIsPaintedAsInTheWholePictureAndNothingBeside) {
    constexpr lcd_colours colours{1, 2, 3};
    constexpr uint32_t untouched = 9;
    constexpr int scale = 3;
    constexpr lcd_rect rect{5, 6, 20, 17};
    lcd_clear();
    lcd_line(0, 0, 113, 63, PIXEL_SET);
    const int width = lcd_picture_width(scale, false);
    const std::vector<uint32_t> whole = lcd_picture(scale, colours);
    std::vector<uint32_t> part(whole.size(), untouched);
    paint_lcd_picture_rect(part.data(), width, scale, colours, rect);
    for (int y = 0; y < lcd_picture_height(scale, false); ++y) {
        for (int x = 0; x < width; ++x) {
            const auto at = static_cast<std::size_t>(y * width + x);
            const bool inside = x >= rect.left * scale && x < rect.right * scale &&
                                y >= rect.top * scale && y < rect.bottom * scale;
            ASSERT_EQ(part[at], inside ? whole[at] : untouched) << "at " << x << ", " << y;
        }
    }
}

TEST(LcdChanges, TheChangedRectangleHoldsEveryChangedPixelAndNoMore) {
    const struct {
        const char* what;
        std::vector<std::pair<int, int>> toggled; // pixels x, y
        lcd_rect expected;
    } cases[] = {
        {"the same frame", {}, {}},
        {"one pixel", {{57, 63}}, {57, 63, 58, 64}},
        {"the corners", {{0, 0}, {113, 63}}, LCD_WHOLE_DISPLAY},
        {"one page's middle rows", {{10, 18}, {12, 20}}, {10, 18, 13, 21}},
        {"across a page boundary", {{40, 7}, {30, 8}}, {30, 7, 41, 9}},
    };
    lcd_clear();
    lcd_fill(20, 4, 80, 40, PIXEL_SET);
    uint8_t before[LCD_BUFFER_SIZE];
    std::copy(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, before);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::copy(before, before + LCD_BUFFER_SIZE, lcd_buffer);
        for (const auto& [x, y] : c.toggled) {
            lcd_put_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y), PIXEL_TOGGLE);
        }
        const lcd_rect changed = lcd_changed_rect(before, lcd_buffer);
        EXPECT_EQ(changed, c.expected) << changed.left << "," << changed.top << " .. "
                                       << changed.right << "," << changed.bottom;
    }
}
