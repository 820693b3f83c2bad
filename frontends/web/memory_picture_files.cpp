#include "memory_picture_files.h"

#include <algorithm>
#include <fstream>

namespace txm9 {

namespace {

std::vector<named_picture> pictures;

// "./shot.png" and "shot.png" are one picture.
std::string normal_name(const std::string& path) {
    return path.rfind("./", 0) == 0 ? path.substr(2) : path;
}

std::vector<named_picture>::iterator find_picture(const std::string& name) {
    return std::find_if(pictures.begin(), pictures.end(),
                        [&](const named_picture& p) { return p.name == name; });
}

} // namespace

const std::vector<named_picture>& memory_pictures() {
    return pictures;
}

void clear_memory_pictures() {
    pictures.clear();
}

} // namespace txm9

using namespace txm9;

std::string write_png_file(const std::string& path, const argb_picture& picture) {
    const std::string name = normal_name(path);
    const auto found = find_picture(name);
    if (found != pictures.end()) {
        found->picture = picture;
    } else {
        pictures.push_back({name, picture});
    }
    // An empty file of that name in the module's own memory file system, so that whoever
    // asks whether the picture exists finds it there.
    std::ofstream{path};
    return {};
}

bool read_png_file(const std::string& path, argb_picture& picture, std::string& problem) {
    const auto found = find_picture(normal_name(path));
    if (found == pictures.end()) {
        problem = "the page has no files; only a picture this scenario wrote before "
                  "(with screenshot) can be read";
        return false;
    }
    picture = found->picture;
    return true;
}
