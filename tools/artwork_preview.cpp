// Draws the numerals and icons through the firmware's own routines and writes them as PGM
// pictures, one display pixel per picture pixel, for reviewing the artwork:
//     artwork_preview OUTPUT_DIR
//     convert OUTPUT_DIR/numerals_large.pgm -scale 800% numerals_large.png
#include <cstdio>
#include <string>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/icon_sheet.h"
#include "firmware/lcd/icons.h"
#include "firmware/lcd/numerals.h"

namespace {

constexpr int gap = 4;
constexpr unsigned char dark = 0;
constexpr unsigned char blank = 200; // the display's grey glass
constexpr unsigned char border = 255;

// A column of screen pictures separated by white gaps.
struct Sheet {
    int width;
    int height = 0;
    std::vector<unsigned char> pixels;

    explicit Sheet(int w) : width(w) {}

    void add(int w, int h, auto pixel_is_dark) {
        if (height > 0) {
            pixels.insert(pixels.end(), static_cast<std::size_t>(width * gap), border);
            height += gap;
        }
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < width; ++x) {
                pixels.push_back(x >= w ? border : pixel_is_dark(x, y) ? dark : blank);
            }
        }
        height += h;
    }

    void add_screen() {
        add(LCD_WIDTH, LCD_HEIGHT, [](int x, int y) {
            return lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
        });
    }

    bool write(const std::string& path) const {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        std::fprintf(file, "P5\n%d %d\n255\n", width, height);
        std::fwrite(pixels.data(), 1, pixels.size(), file);
        return std::fclose(file) == 0;
    }
};

void add_text(Sheet& sheet, void (*draw)(uint8_t, uint8_t, const char*), uint8_t x, uint8_t y,
              const char* text, int icon = -1) {
    lcd_clear();
    if (icon >= 0) {
        lcd_icon(static_cast<uint8_t>(icon));
    }
    draw(x, y, text);
    sheet.add_screen();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    bool ok = true;

    Sheet large(LCD_WIDTH);
    add_text(large, lcd_digits_large, 0, 0, "01234");
    add_text(large, lcd_digits_large, 0, 0, "56789");
    ok &= large.write(dir + "/numerals_large.pgm");

    Sheet medium(LCD_WIDTH);
    add_text(medium, lcd_digits_medium, 0, 0, "012345");
    add_text(medium, lcd_digits_medium, 0, 0, "6789");
    ok &= medium.write(dir + "/numerals_medium.pgm");

    // Readings where the main display puts them, beside their battery pictures.
    Sheet readings(LCD_WIDTH);
    add_text(readings, lcd_digits_large, 25, 9, "12.6", 9);
    add_text(readings, lcd_digits_large, 25, 9, " 5.0", 9);
    add_text(readings, lcd_digits_large, 25, 9, "57.6", 9);
    add_text(readings, lcd_digits_large, 30, 11, " -1", 6);
    add_text(readings, lcd_digits_large, 35, 11, "8.3", 6);
    lcd_clear();
    lcd_icon(8);
    lcd_digits_medium(29, 2, "12.6");
    lcd_digits_medium(41, 30, " 25");
    readings.add_screen();
    lcd_clear();
    lcd_icon(8);
    lcd_digits_medium(29, 2, "30.0");
    lcd_digits_medium(29, 30, "-4.7");
    readings.add_screen();
    add_text(readings, lcd_digits_large, 0, 9, "+-.", -1);
    ok &= readings.write(dir + "/readings.pgm");

    Sheet sheet(128);
    sheet.add(128, 64, [](int x, int y) {
        return (icon_sheet[static_cast<std::size_t>(128 * (y / 8) + x)] & pixel_bit_mask[y % 8]) !=
               0;
    });
    ok &= sheet.write(dir + "/icon_sheet.pgm");

    // Every placement on a screen of its own.
    Sheet placed(LCD_WIDTH);
    for (uint8_t index = 0; index < 10; ++index) {
        lcd_clear();
        lcd_icon(index);
        placed.add_screen();
    }
    ok &= placed.write(dir + "/icons_placed.pgm");

    if (!ok) {
        std::fprintf(stderr, "could not write the pictures to %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
