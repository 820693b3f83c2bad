// The display as pictures: screenshots, reference frames and the pictures that explain a
// mismatch. They are taken here at the display's own size; the player has them written (by
// the frontend's picture files) once the scenario has proved free of mistakes.
#pragma once

#include <array>
#include <string>

#include "picture_files/picture_files.h"

namespace txm9 {

// The display as it is now, one picture pixel per dot.
argb_picture display_picture();
// `picture` with each pixel `scale` pixels square: the display at `scale` times its size.
argb_picture enlarged(const argb_picture& picture, int scale);

// Reads a reference frame: a PNG picture of the display's 114 x 64, or a plain PBM one for a
// name ending in .pbm. Why it cannot serve (no
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
// (differing pixels red on a faded copy of the display), in that order, to be named
// PREFIX + MISMATCH_SUFFIXES[i].
std::array<argb_picture, 3> mismatch_pictures(const argb_picture& reference);
inline constexpr std::array<const char*, 3> MISMATCH_SUFFIXES = {".actual.png", ".expected.png",
                                                                 ".diff.png"};

} // namespace txm9
