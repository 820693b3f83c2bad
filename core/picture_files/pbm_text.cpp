#include "picture_files/pbm_text.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "files/whole_file_writer.h"

namespace txm9 {

namespace {

constexpr uint32_t BLACK = 0xFF000000u;
constexpr uint32_t WHITE = 0xFFFFFFFFu;
// Larger than any display picture; a header asking for more is not a reference frame.
constexpr long MOST_SIDE = 4096;

// Skips spacing and comments (from '#' to the end of the line).
void skip_space(std::string_view text, std::size_t& i) {
    while (i < text.size()) {
        if (text[i] == '#') {
            while (i < text.size() && text[i] != '\n') {
                ++i;
            }
        } else if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
        } else {
            return;
        }
    }
}

bool read_number(std::string_view text, std::size_t& i, long& n) {
    skip_space(text, i);
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) {
        return false;
    }
    n = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        n = n * 10 + (text[i++] - '0');
        if (n > MOST_SIDE) {
            return false;
        }
    }
    return true;
}

} // namespace

bool dark_pixel(uint32_t pixel) {
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return (r * 11 + g * 16 + b * 5) / 32 < 128;
}

std::string pbm_text(const argb_picture& picture) {
    std::string out =
        "P1\n" + std::to_string(picture.width) + " " + std::to_string(picture.height) + "\n";
    out.reserve(out.size() + static_cast<std::size_t>(picture.width + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            out += dark_pixel(picture.pixels[static_cast<std::size_t>(y * picture.width + x)])
                       ? '1'
                       : '0';
        }
        out += '\n';
    }
    return out;
}

bool read_pbm_text(std::string_view text, argb_picture& picture, std::string& problem) {
    std::size_t i = 0;
    skip_space(text, i);
    if (text.substr(i, 2) != "P1") {
        problem = "not a plain PBM picture (it does not start with P1)";
        return false;
    }
    i += 2;
    long width = 0;
    long height = 0;
    if (!read_number(text, i, width) || !read_number(text, i, height) || width == 0 ||
        height == 0) {
        problem = "the PBM header needs a width and a height from 1 to 4096";
        return false;
    }
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    picture.pixels.assign(static_cast<std::size_t>(width * height), WHITE);
    std::size_t at = 0;
    for (skip_space(text, i); i < text.size(); skip_space(text, i)) {
        const char c = text[i++];
        if (c != '0' && c != '1') {
            problem = std::string("a PBM pixel is 0 or 1, found '") +
                      (std::isprint(static_cast<unsigned char>(c)) ? std::string(1, c) : "?") + "'";
            return false;
        }
        if (at == picture.pixels.size()) {
            problem = "more pixels than the header's " + std::to_string(width) + " x " +
                      std::to_string(height);
            return false;
        }
        picture.pixels[at++] = c == '1' ? BLACK : WHITE;
    }
    if (at != picture.pixels.size()) {
        problem = "only " + std::to_string(at) + " of the header's " + std::to_string(width) +
                  " x " + std::to_string(height) + " pixels";
        return false;
    }
    return true;
}

bool is_pbm_name(const std::string& path) {
    if (path.size() < 4) {
        return false;
    }
    std::string end = path.substr(path.size() - 4);
    for (char& c : end) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return end == ".pbm";
}

std::string write_pbm_file(const std::string& path, const argb_picture& picture) {
    return write_whole_file(path, pbm_text(picture));
}

bool read_pbm_file(const std::string& path, argb_picture& picture, std::string& problem) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        problem = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (!file.good() && !file.eof()) {
        problem = "cannot read " + path;
        return false;
    }
    std::string why;
    if (!read_pbm_text(text.str(), picture, why)) {
        problem = "cannot read " + path + " as a PBM picture: " + why;
        return false;
    }
    return true;
}

} // namespace txm9
