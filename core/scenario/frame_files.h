// The display as PNG pictures: screenshots, reference frames and the pictures that explain a
// mismatch. Pictures are made here as the bytes of their files; the player writes them, whole
// or not at all, once the scenario has proved free of mistakes.
#pragma once

#include <array>
#include <string>

#include "picture_files/picture_files.h"

namespace txm9 {

// The display at `scale` times its size as PNG bytes; why not, or empty.
std::string display_png(int scale, std::string& bytes);

// Reads a reference frame: a PNG picture of the display's 114 x 64. Why it cannot serve (no
// such file, unreadable, not a PNG, another size), or empty.
std::string read_reference(const std::string& path, argb_picture& picture);

struct frame_check {
    int differing = 0; // pixels whose darkness differs
    int first_x = -1, first_y = -1;
};

// Compares the display with a 114 x 64 reference: a pixel is dark where it is darker than
// mid-grey, whatever colours the reference was saved in.
frame_check compare_display_with(const argb_picture& reference);

// After a mismatch: the actual display, a copy of the reference and a difference picture
// (differing pixels red on a faded copy of the display), as PNG bytes in that order, to be
// named PREFIX + MISMATCH_SUFFIXES[i]. Why not, or empty.
std::string mismatch_pngs(const argb_picture& reference, std::array<std::string, 3>& bytes);
inline constexpr std::array<const char*, 3> MISMATCH_SUFFIXES = {".actual.png", ".expected.png",
                                                                 ".diff.png"};

} // namespace txm9
