// Pictures of the display as plain PBM (P1): a header, then one character a pixel, '1' dark
// and '0' light, one line a row. A reference frame in this form reads in a review's diff, pixel
// by pixel. Plain text, no library: it builds everywhere the core does.
#pragma once

#include <string>
#include <string_view>

#include "picture_files/picture_files.h"

namespace txm9 {

// `picture` as P1 text: a pixel is dark where it is darker than mid-grey.
std::string pbm_text(const argb_picture& picture);
// Reads P1 text (comments and any spacing allowed) into black and white pixels; false with
// `problem` saying what is wrong.
bool read_pbm_text(std::string_view text, argb_picture& picture, std::string& problem);

// Whether a file is named as a P1 reference: it ends in ".pbm" (any case).
bool is_pbm_name(const std::string& path);
// Reads and writes P1 files; errors as the PNG files give them.
std::string write_pbm_file(const std::string& path, const argb_picture& picture);
bool read_pbm_file(const std::string& path, argb_picture& picture, std::string& problem);

// A pixel is dark where it is darker than mid-grey, whatever colours it was saved in.
bool dark_pixel(uint32_t pixel);

} // namespace txm9
