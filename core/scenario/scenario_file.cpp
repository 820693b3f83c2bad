#include "scenario/scenario_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace txm9 {

namespace {

// What a file that is not a regular one is, for the message.
const char* kind_of(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a folder";
    }
    if (S_ISFIFO(mode)) {
        return "is a FIFO";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "is a device";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket";
    }
    return "is not a regular file";
}

std::string too_large() {
    return "is larger than " + std::to_string(LARGEST_SCENARIO_BYTES >> 20) +
           " MB, the most a scenario file may hold";
}

} // namespace

bool read_scenario_file(const std::string& path, std::string& text, std::string& error) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer, past any time limit.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error = std::string("cannot read the file: ") + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = std::string("cannot read the file: ") + std::strerror(errno);
    } else if (!S_ISREG(info.st_mode)) {
        error = std::string(kind_of(info.st_mode)) + ", not a scenario file";
    } else if (static_cast<std::size_t>(info.st_size) > LARGEST_SCENARIO_BYTES) {
        error = too_large();
    }
    if (!error.empty()) {
        ::close(fd);
        return false;
    }
    text.clear();
    text.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = std::string("cannot read the file: ") + std::strerror(errno);
            break;
        }
        if (n == 0) {
            break;
        }
        // A file still growing is held to the same bound.
        if (text.size() + static_cast<std::size_t>(n) > LARGEST_SCENARIO_BYTES) {
            error = too_large();
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return error.empty();
}

} // namespace txm9
