// Picture files for a page that has no files: what a scenario writes (its screenshots, the
// pictures that explain a mismatched frame) is kept in memory under its name, for the
// playground to show, and an `expect frame` reads a picture written there before.
#pragma once

#include <string>
#include <vector>

#include "picture_files/picture_files.h"

namespace txm9 {

struct named_picture {
    std::string name;
    argb_picture picture;
};

// The pictures written since the last clear, in the order first written.
const std::vector<named_picture>& memory_pictures();
void clear_memory_pictures();

} // namespace txm9
