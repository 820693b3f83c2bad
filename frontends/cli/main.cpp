// txm9-scenario: plays scenario files on the instrument's firmware, headless, on instrument
// time, and says which passed. Exit status 0 all passed, 1 an expectation failed, 2 a
// scenario could not run (a mistake in it, an unreadable file, a bad option).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "files/whole_file_writer.h"
#include "junit_report.h"
#include "scenario/scenario_player.h"

using namespace txm9;

#ifndef TXM9_VERSION
#define TXM9_VERSION "unknown"
#endif

namespace {

constexpr int PASSED = 0;
constexpr int FAILED = 1;
constexpr int CANNOT_RUN = 2;

const char usage[] =
    "usage: txm9-scenario [options] FILE...\n"
    "Plays each scenario file on the TXM-9 firmware without a window, on instrument time\n"
    "(a pass every 25 ms, the 100 ms tick), as fast as the processor allows.\n"
    "\n"
    "options:\n"
    "  --out DIR     where screenshots and failure pictures go (default: beside the scenario)\n"
    "  --update      write reference frames (expect frame) instead of comparing with them\n"
    "  --junit FILE  also write a JUnit XML report\n"
    "  --quiet       print failures only\n"
    "  --help        this text\n"
    "  --version     the program's version\n"
    "\n"
    "exit status: 0 every scenario passed, 1 an expectation failed, 2 a scenario cannot run\n";

struct options {
    player_options play;
    std::string junit;
    bool quiet = false;
    std::vector<std::string> files;
};

// The whole file; false with the system's reason when it cannot be read.
bool read_file(const std::string& path, std::string& text, std::string& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = std::string("cannot read the file: ") + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd);
        error = "is a folder, not a scenario file";
        return false;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            error = std::string("cannot read the file: ") + std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

// Whether two paths name the same file: the same device and inode when both exist.
bool same_file(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// Why the report cannot be written where asked, found before anything runs: a target that is
// not a regular file, a folder that is missing or closed, or one of the scenarios themselves.
std::string junit_problem(const options& o) {
    for (const std::string& file : o.files) {
        if (same_file(o.junit, file)) {
            return "cannot write the report " + o.junit + ": it is the scenario " + file +
                   ", which would be lost";
        }
    }
    return check_target(o.junit);
}

file_result run_file(const std::string& path, const options& o) {
    const auto started = std::chrono::steady_clock::now();
    file_result result{path, {}, 0};
    std::string text;
    std::string error;
    if (!read_file(path, text, error)) {
        result.outcome.status = outcome_status::cannot_run;
        result.outcome.message = path + ": " + error;
    } else {
        result.outcome = play_scenario_text(text, path, o.play);
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

void report(const file_result& r, bool quiet) {
    const scenario_outcome& o = r.outcome;
    if (!quiet) {
        for (const std::string& notice : o.notices) {
            std::cout << notice << "\n";
        }
    }
    switch (o.status) {
    case outcome_status::passed:
        if (!quiet) {
            std::printf("PASS %s: %llu passes, %.1f s of instrument time in %.0f ms\n",
                        r.file.c_str(), static_cast<unsigned long long>(o.passes),
                        static_cast<double>(o.instrument_ms) / 1000.0, r.seconds * 1000.0);
            std::fflush(stdout);
        }
        break;
    case outcome_status::failed:
        std::cout << std::flush;
        std::cerr << "FAIL " << o.message << std::flush;
        break;
    case outcome_status::cannot_run:
        std::cout << std::flush;
        std::cerr << o.message << "\n" << std::flush;
        break;
    }
}

// Reads the command line; returns -1 to go on, or the exit status.
int parse_options(int argc, char* argv[], options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                std::cerr << "txm9-scenario: " << name << " needs a value\n" << usage;
                return nullptr;
            }
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return PASSED;
        }
        if (a == "--version") {
            std::cout << "txm9-scenario " << TXM9_VERSION << "\n";
            return PASSED;
        }
        if (a == "--update") {
            o.play.update = true;
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (a == "--out" || a == "--junit") {
            const char* v = value(a.c_str());
            if (v == nullptr) {
                return CANNOT_RUN;
            }
            (a == "--out" ? o.play.out_dir : o.junit) = v;
        } else if (a.size() > 1 && a[0] == '-' && a != "--") {
            std::cerr << "txm9-scenario: unknown option " << a << "\n" << usage;
            return CANNOT_RUN;
        } else if (a != "--") {
            o.files.push_back(a);
        }
    }
    if (o.files.empty()) {
        std::cerr << "txm9-scenario: no scenario file given\n" << usage;
        return CANNOT_RUN;
    }
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    options o;
    if (const int status = parse_options(argc, argv, o); status >= 0) {
        return status;
    }
    if (!o.play.out_dir.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(o.play.out_dir, ec);
        if (ec) {
            std::cerr << "txm9-scenario: cannot create " << o.play.out_dir << ": " << ec.message()
                      << "\n";
            return CANNOT_RUN;
        }
    }
    if (!o.junit.empty()) {
        if (const std::string problem = junit_problem(o); !problem.empty()) {
            std::cerr << "txm9-scenario: " << problem << "\n";
            return CANNOT_RUN;
        }
    }
    // Past a file-size limit a write fails with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    o.play.print_to = &std::cout;
    std::vector<file_result> results;
    int status = PASSED;
    for (const std::string& file : o.files) {
        results.push_back(run_file(file, o));
        report(results.back(), o.quiet);
        const outcome_status s = results.back().outcome.status;
        status = std::max(status, s == outcome_status::passed   ? PASSED
                                  : s == outcome_status::failed ? FAILED
                                                                : CANNOT_RUN);
    }
    if (!o.junit.empty()) {
        if (const std::string error = write_junit(o.junit, results); !error.empty()) {
            std::cerr << "txm9-scenario: " << error << "\n";
            status = CANNOT_RUN;
        }
    }
    return status;
}
