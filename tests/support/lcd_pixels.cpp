#include "lcd_pixels.h"

#include "framebuffer.h"
#include "lcd_dump.h"

PixelSet lcd_dark_pixels() {
    PixelSet dark;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            if (lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0) {
                dark.insert({x, y});
            }
        }
    }
    return dark;
}

namespace {

void list(testing::AssertionResult& out, const char* what, const PixelSet& pixels) {
    constexpr std::size_t shown = 24;
    out << what << " (" << pixels.size() << "):";
    std::size_t n = 0;
    for (const auto& [x, y] : pixels) {
        if (n++ == shown) {
            out << " ...";
            break;
        }
        out << " (" << x << "," << y << ")";
    }
    out << "\n";
}

} // namespace

testing::AssertionResult lcd_shows_exactly(const PixelSet& expected) {
    const PixelSet dark = lcd_dark_pixels();
    if (dark == expected) {
        return testing::AssertionSuccess();
    }
    PixelSet missing, extra;
    for (const auto& p : expected) {
        if (dark.count(p) == 0) {
            missing.insert(p);
        }
    }
    for (const auto& p : dark) {
        if (expected.count(p) == 0) {
            extra.insert(p);
        }
    }
    testing::AssertionResult failure = testing::AssertionFailure();
    list(failure, "expected dark but light", missing);
    list(failure, "dark but not expected", extra);
    failure << lcd_dump();
    return failure;
}
