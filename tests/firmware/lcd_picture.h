// Reads pictures back from the frame buffer and the artwork tables for the LCD tests: an
// ASCII dump for failure messages and the bounding box of the ink.
#pragma once

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>

#include "framebuffer.h"

// The smallest rectangle holding every dark pixel; `empty` when there is none.
struct InkBox {
    bool empty = true;
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline bool operator==(const InkBox& a, const InkBox& b) {
    return a.empty == b.empty && (a.empty || (a.left == b.left && a.top == b.top &&
                                              a.right == b.right && a.bottom == b.bottom));
}

inline std::ostream& operator<<(std::ostream& out, const InkBox& box) {
    if (box.empty) {
        return out << "no ink";
    }
    return out << "columns " << box.left << ".." << box.right << ", rows " << box.top << ".."
               << box.bottom;
}

// `dark(x, y)` over columns x0..x1 and rows y0..y1.
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

// Rows of '#' and '.', each prefixed with its row number.
template <typename Dark> std::string ascii_picture(int x0, int y0, int x1, int y1, Dark dark) {
    std::string text = "\n";
    for (int y = y0; y <= y1; ++y) {
        text += (y < 10 ? " " : "") + std::to_string(y) + " ";
        for (int x = x0; x <= x1; ++x) {
            text += dark(x, y) ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

inline bool lcd_dark(int x, int y) {
    return lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
}

inline InkBox lcd_ink_box(int x0, int y0, int x1, int y1) {
    return ink_box(x0, y0, x1, y1, lcd_dark);
}

inline std::string lcd_picture(int x0 = 0, int y0 = 0, int x1 = LCD_WIDTH - 1,
                               int y1 = LCD_HEIGHT - 1) {
    return ascii_picture(x0, y0, x1, y1, lcd_dark);
}
