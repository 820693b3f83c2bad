// Reading pictures back from the frame buffer: single pixels, counts, the box around the ink,
// ASCII art of a region, and exact comparisons with an expected picture, whole screen or
// region, whose failure lists the pixels that differ and shows the screen.
#pragma once

#include <algorithm>
#include <functional>
#include <ostream>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

// Whether pixel (x, y) is dark; anything off the screen is light.
bool lcd_dark(int x, int y);
// Number of dark pixels in columns x0..x1, rows y0..y1.
int lcd_count_set(int x0, int y0, int x1, int y1);

// (x, y) of each dark pixel.
using PixelSet = std::set<std::pair<int, int>>;

PixelSet lcd_dark_pixels();
// What `draw` alone puts on a blank screen; the screen under test is left as it was.
PixelSet lcd_drawn_alone(const std::function<void()>& draw);
// Succeeds when exactly the expected pixels are dark; the failure message lists the missing
// and the unexpected ones and shows the screen.
testing::AssertionResult lcd_shows_exactly(const PixelSet& expected);
// The same within columns x0..x1, rows y0..y1 only: pixels of `expected` outside them and
// everything the screen shows outside them are not compared.
testing::AssertionResult lcd_region_shows_exactly(const PixelSet& expected, int x0, int y0, int x1,
                                                  int y1);

// The smallest rectangle holding every dark pixel; `empty` when there is none.
struct InkBox {
    bool empty = true;
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline bool operator==(const InkBox& a, const InkBox& b) {
    return a.empty == b.empty && (a.empty || (a.left == b.left && a.top == b.top &&
                                              a.right == b.right && a.bottom == b.bottom));
}

// Prints e.g. "columns 6..20, rows 14..39", or "no ink".
std::ostream& operator<<(std::ostream& out, const InkBox& box);

// The ink of any picture, `dark(x, y)`, over columns x0..x1 and rows y0..y1.
template <typename Dark> InkBox ink_box(int x0, int y0, int x1, int y1, Dark dark) {
    InkBox box;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (!dark(x, y)) {
                continue;
            }
            if (box.empty) {
                box = {false, x, y, x, y};
            }
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

inline InkBox lcd_ink_box(int x0, int y0, int x1, int y1) {
    return ink_box(x0, y0, x1, y1, lcd_dark);
}

// Any picture as '#' for a dark pixel and '.' for a light one, one line per row from y0 to
// y1, columns x0..x1.
template <typename Dark> std::string pixel_art(int x0, int y0, int x1, int y1, Dark dark) {
    std::string art;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            art += dark(x, y) ? '#' : '.';
        }
        art += '\n';
    }
    return art;
}

inline std::string lcd_region_art(int x0, int y0, int x1, int y1) {
    return pixel_art(x0, y0, x1, y1, lcd_dark);
}

// Joins picture rows given as separate literals into the form pixel_art returns.
template <typename... Rows> std::string art(const Rows&... rows) {
    std::string joined;
    ((joined += rows, joined += '\n'), ...);
    return joined;
}
