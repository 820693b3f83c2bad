#include "scenario/written_names.h"

namespace txm9 {

std::string leaves_its_folder(std::string_view path) {
    if (path.starts_with('/')) {
        return "it is an absolute name";
    }
    // Counted on the name alone: a folder named in it need not exist yet.
    int depth = 0;
    std::size_t from = 0;
    while (from <= path.size()) {
        std::size_t end = path.find('/', from);
        if (end == std::string_view::npos) {
            end = path.size();
        }
        const std::string_view part = path.substr(from, end - from);
        if (part == "..") {
            if (--depth < 0) {
                return "it climbs out of it with '..'";
            }
        } else if (!part.empty() && part != ".") {
            ++depth;
        }
        from = end + 1;
    }
    return {};
}

} // namespace txm9
