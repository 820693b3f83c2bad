// Copies a picture of the icon sheet to its fixed place on the screen, a whole page byte at a
// time: four page rows of 32 bytes, replacing what lies beneath. Nothing is clipped; a
// negative first column lands the picture's first bytes at the end of the page above, and
// every placement is chosen so that those bytes are blank and stay inside the buffer.
#include "firmware/lcd/icons.h"

#include <iterator>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icon_sheet.h"

namespace {

struct Placement {
    uint16_t source; // sheet offset of the cell's top-left byte
    uint8_t page;    // screen page of the picture's top row
    int8_t column;   // screen column of the picture's left edge
};

constexpr Placement placements[10] = {
    {0, 2, 4},    // large battery cell: main menu, battery setup
    {32, 2, 4},   // leave the menu
    {64, 2, 4},   // tools: calibration
    {96, 2, 4},   // screen with a sine wave: converter values
    {512, 1, 4},  // question mark: shown by no screen
    {544, 2, 4},  // exclamation mark: message screen
    {576, 1, -3}, // small battery cell: main display, current page
    {608, 2, 4},  // television: display setup
    {0, 3, -2},   // large battery cell: main display, voltage and current together
    {576, 1, -3}, // small battery cell: main display, voltage page
};

constexpr int sheet_width = 128;
constexpr int icon_size = 32;

} // namespace

void lcd_icon(uint8_t index) {
    if (index >= std::size(placements)) {
        return;
    }
    const Placement& p = placements[index];
    for (int q = 0; q < icon_size / 8; ++q) {
        const int row_start = (p.page + q) * LCD_WIDTH + p.column;
        for (int k = 0; k < icon_size; ++k) {
            lcd_buffer[row_start + k] = icon_sheet[p.source + sheet_width * q + k];
        }
    }
}
