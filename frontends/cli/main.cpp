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
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "control_stdio.h"
#include "coverage/coverage_collector.h"
#include "coverage/coverage_report.h"
#include "files/whole_file_writer.h"
#include "junit_report.h"
#include "scenario/message_text.h"
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
    "       txm9-scenario --serve | --mcp  (a headless instrument on standard input and output)\n"
    "Plays each scenario file on the TXM-9 firmware without a window, on instrument time\n"
    "(a pass every 25 ms, the 100 ms tick), as fast as the processor allows.\n"
    "\n"
    "options:\n"
    "  --out DIR     where screenshots and failure pictures go (default: beside the scenario)\n"
    "  --update      write reference frames (expect frame) instead of comparing with them\n"
    "  --junit FILE  also write a JUnit XML report\n"
    "  --timeout SECONDS  fail a scenario file still playing after this much real time\n"
    "  --coverage DIR  write what the scenarios cover, in the instrument's terms, as\n"
    "                DIR/coverage.html and DIR/coverage.json, and print a summary line\n"
    "  --quiet       print failures only\n"
    "  --help        this text\n"
    "  --version     the program's version\n"
    "\n"
    "exit status: 0 every scenario passed, 1 an expectation failed, 2 a scenario cannot run;\n"
    "interrupted (SIGINT, SIGTERM): the report of the files that finished, then 130 or 143\n";

struct options {
    player_options play;
    std::string junit;
    std::string coverage;
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

file_result run_file(const std::string& path, const options& o, coverage_collector* coverage) {
    const auto started = std::chrono::steady_clock::now();
    file_result result{path, {}, 0};
    std::string text;
    std::string error;
    if (!read_file(path, text, error)) {
        result.outcome.status = outcome_status::cannot_run;
        result.outcome.message = path + ": " + error;
    } else {
        player_options play = o.play;
        if (coverage != nullptr) {
            coverage->add_file(path, text);
            play.observer = coverage;
        }
        result.outcome = play_scenario_text(text, path, play);
    }
    result.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

// What a file's outcome prints; every text in readable UTF-8, whatever bytes it came from.
void report(const file_result& r, bool quiet) {
    const scenario_outcome& o = r.outcome;
    if (!quiet) {
        for (const std::string& notice : o.notices) {
            std::cout << valid_utf8(notice) << "\n";
        }
    }
    switch (o.status) {
    case outcome_status::passed:
        if (!quiet) {
            std::printf("PASS %s: %llu passes, %.1f s of instrument time in %.0f ms\n",
                        valid_utf8(r.file).c_str(), static_cast<unsigned long long>(o.passes),
                        static_cast<double>(o.instrument_ms) / 1000.0, r.seconds * 1000.0);
        }
        break;
    case outcome_status::failed:
        std::cout << std::flush;
        std::cerr << "FAIL " << valid_utf8(o.message) << std::flush;
        break;
    case outcome_status::cannot_run:
        std::cout << std::flush;
        std::cerr << valid_utf8(o.message) << "\n" << std::flush;
        break;
    }
    std::cout << std::flush;
}

// The signal that asked the runner to stop, or 0.
volatile std::sig_atomic_t stop_signal = 0;

void on_stop_signal(int signal) {
    stop_signal = signal;
}

// SIGINT and SIGTERM stop the scenario playing; the report of the finished files is still
// written. A second one ends the program at once.
void catch_stop_signals() {
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// A number of seconds greater than zero; false if `text` is none.
bool read_seconds(const char* text, double& seconds) {
    char* end = nullptr;
    errno = 0;
    seconds = std::strtod(text, &end);
    return end != text && *end == '\0' && errno == 0 && seconds > 0 && seconds <= 1e9;
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
        } else if (a == "--timeout") {
            const char* v = value(a.c_str());
            if (v == nullptr) {
                return CANNOT_RUN;
            }
            if (!read_seconds(v, o.play.real_time_limit_s)) {
                std::cerr << "txm9-scenario: --timeout needs a number of seconds greater than 0, "
                             "found '"
                          << valid_utf8(cut_for_message(v)) << "'\n";
                return CANNOT_RUN;
            }
        } else if (a == "--out" || a == "--junit" || a == "--coverage") {
            const char* v = value(a.c_str());
            if (v == nullptr) {
                return CANNOT_RUN;
            }
            (a == "--out" ? o.play.out_dir : a == "--junit" ? o.junit : o.coverage) = v;
        } else if (a == "--") {
            o.files.insert(o.files.end(), argv + i + 1, argv + argc);
            break;
        } else if (a.size() > 1 && a[0] == '-') {
            std::cerr << "txm9-scenario: unknown option " << valid_utf8(cut_for_message(a)) << "\n"
                      << usage;
            return CANNOT_RUN;
        } else {
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
    if (const int status = serve_if_asked(argc, argv, TXM9_VERSION); status >= 0) {
        return status;
    }
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
    o.play.stop = &stop_signal;
    std::set<std::string> failure_names;
    o.play.failure_names = &failure_names;
    catch_stop_signals();
    std::vector<file_result> results;
    int status = PASSED;
    std::unique_ptr<coverage_collector> coverage;
    if (!o.coverage.empty()) {
        coverage = std::make_unique<coverage_collector>();
    }
    for (const std::string& file : o.files) {
        if (stop_signal != 0) {
            break;
        }
        file_result result = run_file(file, o, coverage.get());
        if (result.outcome.interrupted) {
            break; // not finished: not reported
        }
        results.push_back(std::move(result));
        report(results.back(), o.quiet);
        const outcome_status s = results.back().outcome.status;
        status = std::max(status, s == outcome_status::passed   ? PASSED
                                  : s == outcome_status::failed ? FAILED
                                                                : CANNOT_RUN);
    }
    if (!o.junit.empty()) {
        if (const std::string error = write_junit(o.junit, results); !error.empty()) {
            std::cerr << "txm9-scenario: " << valid_utf8(error) << "\n";
            status = CANNOT_RUN;
        }
    }
    if (stop_signal != 0) {
        std::cerr << "txm9-scenario: interrupted (" << strsignal(stop_signal) << ") after "
                  << results.size() << " of " << o.files.size() << " files\n";
        return 128 + stop_signal;
    }
    if (coverage) {
        if (const std::string error = write_coverage_report(o.coverage, coverage->data());
            !error.empty()) {
            std::cerr << "txm9-scenario: " << valid_utf8(error) << "\n";
            status = CANNOT_RUN;
        } else {
            std::cout << summary_line(summarise(coverage->data())) << " ("
                      << (std::filesystem::path(o.coverage) / "coverage.html").string() << ")\n";
        }
    }
    return status;
}
