#include "files/whole_file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "files/part_files.h"

namespace txm9 {

namespace {

// Part files tried before giving up: PATH.part, then PATH.1.part up to this.
constexpr int MOST_PART_NAMES = 100;

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// What an existing target is when it is not a regular file, or empty.
const char* not_a_file(mode_t mode) {
    if (S_ISLNK(mode)) {
        return "it is a symbolic link, which is not replaced (name the file it points to)";
    }
    if (S_ISDIR(mode)) {
        return "it is a folder";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not a file";
    }
    if (S_ISFIFO(mode)) {
        return "it is a FIFO, not a file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not a file";
    }
    return S_ISREG(mode) ? "" : "it is not a regular file";
}

struct protected_input {
    dev_t device;
    ino_t inode;
    std::string what;
};

std::vector<protected_input>& protected_inputs() {
    static std::vector<protected_input> inputs;
    return inputs;
}

// Why the target cannot be written, without the "cannot write PATH: " in front.
std::string target_problem(const std::string& path, struct stat& existing, bool& exists) {
    exists = false;
    if (path.empty() || path.back() == '/') {
        return "no file name";
    }
    if (::lstat(path.c_str(), &existing) == 0) {
        exists = true;
        const char* what = not_a_file(existing.st_mode);
        if (*what != '\0') {
            return what;
        }
        for (const protected_input& input : protected_inputs()) {
            if (input.device == existing.st_dev && input.inode == existing.st_ino) {
                return "it is " + input.what + ", which would be lost";
            }
        }
    } else if (errno != ENOENT) {
        return std::strerror(errno);
    }
    const std::string folder = folder_of(path);
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        return std::strerror(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return std::strerror(ENOTDIR);
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return std::strerror(errno);
    }
    return {};
}

} // namespace

void protect_input(const std::string& path, const std::string& what) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        protected_inputs().push_back({info.st_dev, info.st_ino, what});
    }
}

std::string check_target(const std::string& path) {
    struct stat existing {};
    bool exists = false;
    const std::string problem = target_problem(path, existing, exists);
    return problem.empty() ? problem : "cannot write " + path + ": " + problem;
}

whole_file_writer::whole_file_writer(std::string path) : path_(std::move(path)) {
    struct stat existing {};
    bool exists = false;
    if (const std::string problem = target_problem(path_, existing, exists); !problem.empty()) {
        fail(problem);
        return;
    }
    for (int n = 0; n < MOST_PART_NAMES && fd_ < 0; ++n) {
        const std::string part =
            n == 0 ? path_ + ".part" : path_ + "." + std::to_string(n) + ".part";
        // Made and known to the signal handler in one step: a signal between the two would
        // leave it behind.
        const signals_held held;
        fd_ = ::open(part.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            part_ = part;
            note_part_file(part_);
        } else if (errno != EEXIST) {
            fail(std::strerror(errno));
            return;
        }
    }
    if (fd_ < 0) {
        fail("every name for the partial file beside it is taken");
        return;
    }
    // A file written anew keeps the permissions of the one it replaces.
    if (exists && ::fchmod(fd_, existing.st_mode & 07777) != 0) {
        fail(std::strerror(errno));
    }
}

whole_file_writer::~whole_file_writer() {
    abandon();
}

bool whole_file_writer::write(const void* bytes, std::size_t size) {
    if (!ok() || fd_ < 0) {
        return false;
    }
    const auto* from = static_cast<const char*>(bytes);
    while (size > 0) {
        const ssize_t n = ::write(fd_, from, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return fail(std::strerror(errno));
        }
        if (n == 0) {
            return fail(std::strerror(ENOSPC));
        }
        from += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool whole_file_writer::finish() {
    if (!ok() || part_.empty()) {
        return false;
    }
    if (fd_ < 0) {
        return true;
    }
    // On the disk before it takes the name: a crash leaves the old file or the new one.
    if (::fsync(fd_) != 0) {
        return fail(std::strerror(errno));
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        return fail(std::strerror(errno));
    }
    return true;
}

bool whole_file_writer::commit() {
    if (!finish()) {
        return false;
    }
    // The target may have changed while the file was written.
    struct stat existing {};
    bool exists = false;
    if (const std::string problem = target_problem(path_, existing, exists); !problem.empty()) {
        return fail(problem);
    }
    {
        const signals_held held;
        if (::rename(part_.c_str(), path_.c_str()) != 0) {
            return fail(std::strerror(errno));
        }
        forget_part_file(part_);
    }
    committed_ = true;
    part_.clear();
    // The new name on the disk too; a folder that cannot be synced loses nothing written.
    const int folder = ::open(folder_of(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        (void)::fsync(folder);
        ::close(folder);
    }
    return true;
}

void whole_file_writer::abandon() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!committed_ && !part_.empty()) {
        const signals_held held;
        ::unlink(part_.c_str());
        forget_part_file(part_);
        part_.clear();
    }
}

bool whole_file_writer::fail(const std::string& reason) {
    if (error_.empty()) {
        error_ = "cannot write " + path_ + ": " + reason;
    }
    abandon();
    return false;
}

std::string write_whole_file(const std::string& path, std::string_view bytes) {
    whole_file_writer file(path);
    if (file.write(bytes.data(), bytes.size())) {
        file.commit();
    }
    return file.error();
}

std::string write_whole_files(const std::vector<whole_file>& files) {
    std::vector<std::unique_ptr<whole_file_writer>> writers;
    for (const whole_file& f : files) {
        writers.push_back(std::make_unique<whole_file_writer>(f.path));
        whole_file_writer& w = *writers.back();
        if (!w.write(f.bytes.data(), f.bytes.size()) || !w.finish()) {
            return w.error();
        }
    }
    // Every file is on the disk under its partial name: they take their names together, and
    // a signal waits until they have.
    const signals_held held;
    for (std::size_t i = 0; i < writers.size(); ++i) {
        if (!writers[i]->commit()) {
            for (std::size_t k = 0; k < i; ++k) {
                ::unlink(files[k].path.c_str());
            }
            return writers[i]->error();
        }
    }
    return {};
}

} // namespace txm9
