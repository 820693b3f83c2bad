// The frame buffer copied once into whole columns, so that the reader can take a cell's
// column of up to 32 rows with one shift instead of one pixel read per row.
#pragma once

#include <array>
#include <cstdint>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

class lcd_snapshot {
public:
    // Copies lcd_buffer as it is now.
    lcd_snapshot() {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            uint64_t column = 0;
            for (int page = 0; page < LCD_PAGES; ++page) {
                column |= uint64_t{lcd_buffer[page * LCD_WIDTH + x]} << (8 * page);
            }
            columns_[x] = column;
        }
    }

    // Rows top..top+n-1 (n <= 32) of column x as bits 0..n-1, a set bit a dark pixel; rows
    // and columns off the screen read light.
    uint32_t rows(int x, int top, int n) const {
        if (x < 0 || x >= LCD_WIDTH || top >= LCD_HEIGHT || top + n <= 0) {
            return 0;
        }
        const uint64_t column = top >= 0 ? columns_[x] >> top : columns_[x] << -top;
        return static_cast<uint32_t>(column & ((uint64_t{1} << n) - 1));
    }

    bool dark(int x, int y) const { return rows(x, y, 1) != 0; }

    // Whether any pixel of rows top..top+n-1 is dark.
    bool any_ink(int top, int n) const {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            if (rows(x, top, n) != 0) {
                return true;
            }
        }
        return false;
    }

private:
    std::array<uint64_t, LCD_WIDTH> columns_{};
};

} // namespace txm9
