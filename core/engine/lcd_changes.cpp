#include "engine/lcd_changes.h"

#include <algorithm>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

lcd_rect lcd_changed_rect(const uint8_t* before, const uint8_t* after) {
    lcd_rect changed{LCD_WIDTH, LCD_HEIGHT, 0, 0};
    for (int page = 0; page < LCD_PAGES; ++page) {
        const uint8_t* const old_page = before + page * LCD_WIDTH;
        const uint8_t* const new_page = after + page * LCD_WIDTH;
        if (std::equal(old_page, old_page + LCD_WIDTH, new_page)) {
            continue;
        }
        // A byte is a column of the page's eight rows: the columns that differ give the
        // rectangle's width, the bits that differ in any of them its rows within the page.
        uint8_t rows = 0;
        for (int x = 0; x < LCD_WIDTH; ++x) {
            const uint8_t difference = old_page[x] ^ new_page[x];
            if (difference != 0) {
                rows |= difference;
                changed.left = std::min(changed.left, x);
                changed.right = std::max(changed.right, x + 1);
            }
        }
        int first = 0;
        while ((rows & pixel_bit_mask[first]) == 0) {
            ++first;
        }
        int last = 7;
        while ((rows & pixel_bit_mask[last]) == 0) {
            --last;
        }
        changed.top = std::min(changed.top, page * 8 + first);
        changed.bottom = std::max(changed.bottom, page * 8 + last + 1);
    }
    return changed.empty() ? lcd_rect{} : changed;
}

} // namespace txm9
