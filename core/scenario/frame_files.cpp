#include "scenario/frame_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/lcd_picture.h"
#include "firmware/lcd/framebuffer.h"

namespace txm9 {
namespace {

argb_picture display_picture(int scale) {
    return {lcd_picture_width(scale, false), lcd_picture_height(scale, false), lcd_picture(scale)};
}

// A pixel is dark where it is darker than mid-grey, whatever colours it was saved in.
bool dark(uint32_t pixel) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 11 + g * 16 + b * 5) / 32 < 128;
}

uint32_t grey(uint32_t level) {
    return 0xFF000000u | level << 16 | level << 8 | level;
}

} // namespace

std::string display_png(int scale, std::string& bytes) {
    return encode_png(display_picture(scale), bytes);
}

std::string read_reference(const std::string& path, argb_picture& picture) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return "no reference frame " + path + " (run with --update to write it)";
        }
        return "cannot read the reference frame " + path + ": " + std::strerror(errno);
    }
    std::string problem;
    if (!read_png_file(path, picture, problem)) {
        return problem;
    }
    if (picture.width != LCD_WIDTH || picture.height != LCD_HEIGHT) {
        return "the reference frame " + path + " is " + std::to_string(picture.width) + " x " +
               std::to_string(picture.height) + ", not the display's 114 x 64";
    }
    return {};
}

frame_check compare_display_with(const argb_picture& reference) {
    frame_check check;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            const bool lit = lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
            if (lit != dark(reference.pixels[static_cast<std::size_t>(y * LCD_WIDTH + x)])) {
                if (check.differing++ == 0) {
                    check.first_x = x;
                    check.first_y = y;
                }
            }
        }
    }
    return check;
}

std::string mismatch_pngs(const argb_picture& reference, std::array<std::string, 3>& bytes) {
    const argb_picture actual = display_picture(1);
    // Differing pixels red on a faded copy of the display.
    argb_picture diff = actual;
    for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
        const bool lit = dark(actual.pixels[i]);
        diff.pixels[i] = lit != dark(reference.pixels[i]) ? 0xFFFF0000u : grey(lit ? 140 : 235);
    }
    const argb_picture* pictures[] = {&actual, &reference, &diff};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (std::string problem = encode_png(*pictures[i], bytes[i]); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

} // namespace txm9
