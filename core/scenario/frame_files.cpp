#include "scenario/frame_files.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/lcd_picture.h"
#include "firmware/lcd/framebuffer.h"
#include "picture_files/pbm_text.h"

namespace txm9 {
namespace {

uint32_t grey(uint32_t level) {
    return 0xFF000000u | level << 16 | level << 8 | level;
}

} // namespace

argb_picture display_picture() {
    return {lcd_picture_width(1, false), lcd_picture_height(1, false), lcd_picture(1)};
}

argb_picture enlarged(const argb_picture& picture, int scale) {
    argb_picture out{picture.width * scale, picture.height * scale, {}};
    out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const uint32_t* row = &picture.pixels[static_cast<std::size_t>(y / scale * picture.width)];
        for (int x = 0; x < out.width; ++x) {
            out.pixels.push_back(row[x / scale]);
        }
    }
    return out;
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
    if (!(is_pbm_name(path) ? read_pbm_file(path, picture, problem)
                            : read_png_file(path, picture, problem))) {
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
            if (lit != dark_pixel(reference.pixels[static_cast<std::size_t>(y * LCD_WIDTH + x)])) {
                if (check.differing++ == 0) {
                    check.first_x = x;
                    check.first_y = y;
                }
            }
        }
    }
    return check;
}

std::array<argb_picture, 3> mismatch_pictures(const argb_picture& reference) {
    const argb_picture actual = display_picture();
    // Differing pixels red on a faded copy of the display.
    argb_picture diff = actual;
    for (std::size_t i = 0; i < diff.pixels.size(); ++i) {
        const bool lit = dark_pixel(actual.pixels[i]);
        diff.pixels[i] =
            lit != dark_pixel(reference.pixels[i]) ? 0xFFFF0000u : grey(lit ? 140 : 235);
    }
    return {actual, reference, diff};
}

} // namespace txm9
