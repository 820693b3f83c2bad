// Files written whole or not at all, for every file the programs write (screenshots,
// reference and failure pictures, reports, saved captures, sessions, recordings). The bytes go
// into a new file beside the target; once they are all there and on the disk it takes the
// target's name in one step, so that a full disk, a crash or a failed write never leaves half
// a file under that name. On any failure the partial file is removed and the reason is the
// system's own words. A target that exists and is not a regular file (a folder, a device, a
// FIFO, a socket, a symbolic link) is never replaced. POSIX only; no toolkit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace txm9 {

// Why `path` cannot be written, as "cannot write PATH: REASON", or empty: it exists and is not
// a regular file, or its folder is missing or cannot be written into. For checking a target
// before a long run; the writer checks again.
std::string check_target(const std::string& path);

// Marks `path` as an input of this run (a scenario being played): no file is written over it
// as long as the program runs, whatever name the output is given. `what` names it in the
// refusal ("the scenario plays/a.scenario").
void protect_input(const std::string& path, const std::string& what);

class whole_file_writer {
public:
    // Starts the file that becomes `path`: PATH.part beside it, or PATH.N.part if that name is
    // taken (nothing that exists is touched). ok() says whether it could.
    explicit whole_file_writer(std::string path);
    whole_file_writer(const whole_file_writer&) = delete;
    whole_file_writer& operator=(const whole_file_writer&) = delete;
    // Not committed: the partial file is removed.
    ~whole_file_writer();

    // Appends `size` bytes. After the first failure nothing more is written and every call
    // returns false.
    bool write(const void* bytes, std::size_t size);
    // Makes the bytes durable under the partial file's name; commit() does it if not done.
    bool finish();
    // Makes the file durable and gives it its name. False, with error() saying why and the
    // partial file removed, on any failure before.
    bool commit();
    // Stops without a file.
    void abandon();

    bool ok() const { return error_.empty(); }
    // "cannot write PATH: REASON", empty while all is well.
    const std::string& error() const { return error_; }
    const std::string& part_path() const { return part_; }

private:
    bool fail(const std::string& reason);

    std::string path_;
    std::string part_;
    std::string error_;
    int fd_ = -1;
    bool committed_ = false;
};

// Writes `bytes` as the whole of `path`; the reason it failed ("cannot write PATH: REASON"),
// or empty.
std::string write_whole_file(const std::string& path, std::string_view bytes);

struct whole_file {
    std::string path;
    std::string_view bytes;
};
// Writes files that belong together (a report's page and its data): every one of them, or,
// on any failure, none (a file written before the failure is removed again). The reason it
// failed, or empty.
std::string write_whole_files(const std::vector<whole_file>& files);

} // namespace txm9
