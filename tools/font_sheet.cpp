// Draws both fonts and a few of the instrument's screens into greymap pictures for review:
//   font_sheet OUT_DIR
// writes OUT_DIR/font_8x8.pgm and OUT_DIR/font_small.pgm (every glyph, 16 to a line from
// code 32, enlarged 8 times on a pixel grid, the spacing row and column tinted) and
// OUT_DIR/screens.pgm (sample screens drawn by the real text routines, one LCD pixel per
// picture pixel). Turn them into PNGs with e.g. `convert screens.pgm -scale 200% s.png`.
#include <cstdio>
#include <string>
#include <vector>

#include "firmware/lcd/fonts.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/state.h"

namespace {

constexpr int ZOOM = 8;
constexpr int PER_LINE = 16;
constexpr unsigned char INK = 0, PAPER = 255, SPACING = 215, GRID = 170, GAP = 110;

struct Picture {
    int width, height;
    std::vector<unsigned char> grey;
    Picture(int w, int h, unsigned char fill) : width(w), height(h), grey(w * h, fill) {}
    void fill(int x0, int y0, int w, int h, unsigned char value) {
        for (int y = y0; y < y0 + h; ++y) {
            for (int x = x0; x < x0 + w; ++x) {
                grey[y * width + x] = value;
            }
        }
    }
    bool save(const std::string& path) const {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (f == nullptr) {
            return false;
        }
        std::fprintf(f, "P5\n%d %d\n255\n", width, height);
        std::fwrite(grey.data(), 1, grey.size(), f);
        return std::fclose(f) == 0;
    }
};

// ink(code, column, row) of a glyph of `cols` x `rows` cells; `spacing` tells which cells
// are the letter spacing that the glyph should leave blank.
template <typename Ink, typename Spacing>
Picture sheet(int first, int last, int cols, int rows, Ink ink, Spacing spacing) {
    const int cell_w = cols * ZOOM + 1, cell_h = rows * ZOOM + 1;
    const int count = last - first + 1;
    const int lines = (count + PER_LINE - 1) / PER_LINE;
    Picture p(PER_LINE * (cell_w + 3) + 3, lines * (cell_h + 3) + 3, GAP);
    for (int code = first; code <= last; ++code) {
        const int ox = 3 + ((code - first) % PER_LINE) * (cell_w + 3);
        const int oy = 3 + ((code - first) / PER_LINE) * (cell_h + 3);
        p.fill(ox, oy, cell_w, cell_h, GRID);
        for (int c = 0; c < cols; ++c) {
            for (int r = 0; r < rows; ++r) {
                const unsigned char v = ink(code, c, r) ? INK : spacing(c, r) ? SPACING : PAPER;
                p.fill(ox + 1 + c * ZOOM, oy + 1 + r * ZOOM, ZOOM - 1, ZOOM - 1, v);
            }
        }
    }
    return p;
}

// Copies the frame buffer into the picture at (ox, oy), a dark pixel black.
void put_lcd(Picture& p, int ox, int oy) {
    for (uint8_t y = 0; y < LCD_HEIGHT; ++y) {
        for (uint8_t x = 0; x < LCD_WIDTH; ++x) {
            p.grey[(oy + y) * p.width + ox + x] = lcd_get_pixel(x, y) != 0 ? 20 : 200;
        }
    }
}

void screen_samples() {
    lcd_clear();
    lcd_title(" MAIN MENU ");
    lcd_text(0, 8, "*** DONE ***", 0, 1, 0);
    lcd_text(0, 16, "BACKLIGHT: ON", 0, 1, 0);
    lcd_text(0, 24, "USE { } OR ~", 0, 1, 0);
    lcd_text(0, 32, "0mV +50mV", 0, 1, 0);
    lcd_text(0, 40, "12.6V 57A", 0, 1, 0);
    menu_cursor = 6;
    edit_mode = 1;
    menu_row(0, 6, "LANG: ", "FRANCAIS");
}

void screen_alphabet() {
    lcd_clear();
    lcd_text(0, 0, "ABCDEFGHIJKLMN", 0, 1, 0);
    lcd_text(0, 8, "OPQRSTUVWXYZ", 0, 1, 0);
    lcd_text(0, 16, "0123456789.:-+", 0, 1, 0);
    lcd_text(0, 24, "0O 1I 5S 8B 2Z", 0, 1, 0);
    lcd_text(0, 32, " DISCHARGING ", 0, 1, 1);
    lcd_text(0, 40, "abcdefghijklm", 0, 1, 0);
    lcd_text(0, 48, "nopqrstuvwxyz", 0, 1, 0);
    lcd_text(0, 56, "!\"#$%&'()*,/;<", 0, 1, 0);
}

void screen_double_and_small() {
    lcd_clear();
    lcd_text(0, 0, "12.6V", 1, 1, 0);
    lcd_text(48, 0, "57A", 1, 1, 0);
    lcd_small_text(0, 18, "CHARGING 0mV +50mV", 100);
    lcd_small_text(0, 27, "ABCDEFGHIJKLMNOPQRS", 100);
    lcd_small_text(0, 36, "TUVWXYZ 0123456789", 100);
    lcd_small_text(0, 45, "abcdefghijklmnopqrs", 100);
    lcd_small_text(0, 54, "tuvwxyz ", 100);
    lcd_small_text(48, 54, "OVER", 0);
    lcd_small_text(76, 54, "=>?@[]^", 100);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];

    const Picture big = sheet(
        FONT_FIRST_CODE, FONT_8X8_LAST_CODE, 8, 8,
        [](int code, int c, int r) {
            return (font_8x8[(code - FONT_FIRST_CODE) * 8 + c] & pixel_bit_mask[r]) != 0;
        },
        [](int c, int r) { return c == 7 || r == 7; });
    // The small font is shown with the row above its box (bit 7) and the added sixth column.
    const Picture small = sheet(
        FONT_FIRST_CODE, FONT_SMALL_LAST_CODE, 6, 8,
        [](int code, int c, int r) {
            return c < 5 &&
                   (font_small[(code - FONT_FIRST_CODE) * 5 + c] & pixel_bit_mask[7 - r]) != 0;
        },
        [](int c, int r) { return c == 5 || r == 0; });

    Picture screens(3 * (LCD_WIDTH + 4) + 4, LCD_HEIGHT + 8, 128);
    screen_samples();
    put_lcd(screens, 4, 4);
    screen_alphabet();
    put_lcd(screens, 4 + (LCD_WIDTH + 4), 4);
    screen_double_and_small();
    put_lcd(screens, 4 + 2 * (LCD_WIDTH + 4), 4);

    bool ok = big.save(dir + "/font_8x8.pgm");
    ok = small.save(dir + "/font_small.pgm") && ok;
    ok = screens.save(dir + "/screens.pgm") && ok;
    if (!ok) {
        std::fprintf(stderr, "font_sheet: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
