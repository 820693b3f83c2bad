// The display as PNG files: screenshots, reference frames and the pictures that explain a
// mismatch. Every file is written whole under a temporary name and then renamed, so that a
// failed write never leaves a half picture under the name asked for.
#pragma once

#include <string>

namespace txm9 {

// Writes the display at `scale` times its size; returns an error message, empty on success.
std::string write_display_png(const std::string& path, int scale);

struct frame_check {
    bool readable = false; // the reference could be read as a 114 x 64 picture
    std::string problem;   // why not
    int differing = 0;     // pixels whose darkness differs
    int first_x = -1, first_y = -1;
};

// Compares the display with a native 114 x 64 reference: a pixel is dark where it is darker
// than mid-grey, whatever colours the reference was saved in.
frame_check compare_display_with(const std::string& reference);

// After a mismatch: the actual display, a copy of the reference and a difference picture
// (differing pixels red on a faded copy of the display), as PREFIX.actual.png,
// PREFIX.expected.png and PREFIX.diff.png. Returns an error message, empty on success.
std::string write_mismatch_pictures(const std::string& reference, const std::string& prefix);

} // namespace txm9
