#include "scenario/frame_files.h"

#include <sys/stat.h>

#include <cerrno>

#include "engine/lcd_picture.h"
#include "firmware/lcd/framebuffer.h"
#include "picture_files/picture_files.h"

namespace txm9 {
namespace {

argb_picture display_picture(int scale) {
    return {lcd_picture_width(scale, false), lcd_picture_height(scale, false),
            lcd_picture(scale)};
}

// A pixel is dark where it is darker than mid-grey, whatever colours it was saved in.
bool dark(uint32_t pixel) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 11 + g * 16 + b * 5) / 32 < 128;
}

uint32_t grey(uint32_t level) {
    return 0xFF000000u | level << 16 | level << 8 | level;
}

bool load_reference(const std::string& path, argb_picture& picture, std::string& problem) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 && errno == ENOENT) {
        problem = "no reference frame " + path + " (run with --update to write it)";
        return false;
    }
    if (!read_png_file(path, picture, problem)) {
        return false;
    }
    if (picture.width != LCD_WIDTH || picture.height != LCD_HEIGHT) {
        problem = path + " is " + std::to_string(picture.width) + " x " +
                  std::to_string(picture.height) + ", not the display's 114 x 64";
        return false;
    }
    return true;
}

} // namespace

std::string write_display_png(const std::string& path, int scale) {
    return write_png_file(path, display_picture(scale));
}

frame_check compare_display_with(const std::string& reference) {
    frame_check check;
    argb_picture expected;
    if (!load_reference(reference, expected, check.problem)) {
        return check;
    }
    check.readable = true;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            const bool lit = lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
            if (lit != dark(expected.pixels[static_cast<std::size_t>(y * LCD_WIDTH + x)])) {
                if (check.differing++ == 0) {
                    check.first_x = x;
                    check.first_y = y;
                }
            }
        }
    }
    return check;
}

std::string write_mismatch_pictures(const std::string& reference, const std::string& prefix) {
    const argb_picture actual = display_picture(1);
    argb_picture expected;
    std::string problem;
    if (!load_reference(reference, expected, problem)) {
        return problem;
    }
    // Differing pixels red on a faded copy of the display.
    argb_picture diff = actual;
    for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
        const bool lit = dark(actual.pixels[i]);
        diff.pixels[i] = lit != dark(expected.pixels[i]) ? 0xFFFF0000u : grey(lit ? 140 : 235);
    }
    const std::pair<const argb_picture*, const char*> pictures[] = {
        {&actual, ".actual.png"}, {&expected, ".expected.png"}, {&diff, ".diff.png"}};
    for (const auto& [picture, suffix] : pictures) {
        const std::string error = write_png_file(prefix + suffix, *picture);
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}

} // namespace txm9
