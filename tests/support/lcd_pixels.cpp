#include "lcd_pixels.h"

#include <cstring>

#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"

using namespace txm9;

bool lcd_dark(int x, int y) {
    return x >= 0 && x < LCD_WIDTH && y >= 0 && y < LCD_HEIGHT &&
           lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
}

int lcd_count_set(int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            n += lcd_dark(x, y) ? 1 : 0;
        }
    }
    return n;
}

std::ostream& operator<<(std::ostream& out, const InkBox& box) {
    if (box.empty) {
        return out << "no ink";
    }
    return out << "columns " << box.left << ".." << box.right << ", rows " << box.top << ".."
               << box.bottom;
}

PixelSet lcd_dark_pixels() {
    PixelSet dark;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            if (lcd_dark(x, y)) {
                dark.insert({x, y});
            }
        }
    }
    return dark;
}

PixelSet lcd_drawn_alone(const std::function<void()>& draw) {
    uint8_t saved[LCD_BUFFER_SIZE];
    std::memcpy(saved, lcd_buffer, sizeof saved);
    lcd_clear();
    draw();
    const PixelSet drawn = lcd_dark_pixels();
    std::memcpy(lcd_buffer, saved, sizeof saved);
    return drawn;
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

// Compares the dark pixels in the region; with `whole`, expected pixels that lie off the
// screen count as missing too.
testing::AssertionResult compare(const PixelSet& expected, int x0, int y0, int x1, int y1,
                                 bool whole) {
    const auto inside = [&](const std::pair<int, int>& p) {
        return p.first >= x0 && p.first <= x1 && p.second >= y0 && p.second <= y1;
    };
    PixelSet missing, extra;
    for (const auto& p : expected) {
        if ((whole || inside(p)) && !lcd_dark(p.first, p.second)) {
            missing.insert(p);
        }
    }
    for (const auto& p : lcd_dark_pixels()) {
        if (inside(p) && expected.count(p) == 0) {
            extra.insert(p);
        }
    }
    if (missing.empty() && extra.empty()) {
        return testing::AssertionSuccess();
    }
    testing::AssertionResult failure = testing::AssertionFailure();
    if (!whole) {
        failure << "in columns " << x0 << ".." << x1 << ", rows " << y0 << ".." << y1 << ":\n";
    }
    list(failure, "expected dark but light", missing);
    list(failure, "dark but not expected", extra);
    failure << lcd_dump();
    return failure;
}

} // namespace

testing::AssertionResult lcd_region_shows_exactly(const PixelSet& expected, int x0, int y0, int x1,
                                                  int y1) {
    return compare(expected, x0, y0, x1, y1, false);
}

testing::AssertionResult lcd_shows_exactly(const PixelSet& expected) {
    return compare(expected, 0, 0, LCD_WIDTH - 1, LCD_HEIGHT - 1, true);
}
