// Pictures as files, for screenshots, reference frames and the pictures that explain a
// mismatch. The scenario library calls these; a frontend links the implementation that suits
// it (PNG through libpng on the desktop), so the core itself needs no image library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A picture in 0xAARRGGBB words (the alpha is ignored), rows packed.
struct argb_picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

// Writes `picture` as a PNG file, whole or not at all. Returns why it failed ("cannot write
// PATH: REASON"), empty on success.
std::string write_png_file(const std::string& path, const argb_picture& picture);

// `picture` as the bytes of a PNG file; false with `problem` saying why it could not be.
bool encode_png(const argb_picture& picture, std::string& bytes, std::string& problem);

// Reads a PNG file of any colour type and depth. On failure returns false with `problem`
// saying why, and prints nothing.
bool read_png_file(const std::string& path, argb_picture& picture, std::string& problem);
