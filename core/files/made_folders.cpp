#include "files/made_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace txm9 {

std::string made_folders::make(const std::string& folder) {
    std::vector<std::string> missing;
    for (std::filesystem::path p = std::filesystem::path(folder).lexically_normal();
         !p.empty() && p != p.root_path(); p = p.parent_path()) {
        struct stat info {};
        if (::stat(p.c_str(), &info) == 0) {
            break;
        }
        if (p.filename() != "..") {
            missing.insert(missing.begin(), p.string());
        }
        if (!p.has_parent_path()) {
            break;
        }
    }
    for (const std::string& f : missing) {
        if (::mkdir(f.c_str(), 0777) != 0 && errno != EEXIST) {
            return std::strerror(errno);
        }
        made_.push_back(f);
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        return std::strerror(ENOTDIR);
    }
    return {};
}

void made_folders::remove_empty() const {
    for (auto f = made_.rbegin(); f != made_.rend(); ++f) {
        ::rmdir(f->c_str()); // fails, as it should, on a folder holding something
    }
}

} // namespace txm9
