// The display as a picture, which screenshots, recordings and reference frames all use: each
// pixel a scale x scale block, the margin only at the right and bottom.
#include <gtest/gtest.h>

#include "firmware/lcd/framebuffer.h"
#include "engine/lcd_picture.h"

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
