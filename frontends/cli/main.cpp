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
#include "files/made_folders.h"
#include "files/part_files.h"
#include "files/whole_file_writer.h"
#include "junit_report.h"
#include "scenario/message_text.h"
#include "scenario/play_journal.h"
#include "scenario/play_status.h"
#include "scenario/scenario_file.h"
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
    "  --journal FILE  also write every input and frame of the plays, for replaying them\n"
    "                on the instrument's microcontroller (scripts/mcu)\n"
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
    std::string journal;
    bool quiet = false;
    std::vector<std::string> files;
};

// Why an output cannot be written where asked, found before anything runs: a target that is
// not a regular file, a folder that is missing or closed, or one of the scenarios themselves.
std::string output_problem(const options& o) {
    for (const std::string* report : {&o.junit, &o.journal}) {
        if (!report->empty()) {
            if (std::string problem = check_target(*report); !problem.empty()) {
                return problem;
            }
        }
    }
    // A folder that does not exist yet is made at the end; one that does is checked now.
    if (struct stat info{}; !o.coverage.empty() && ::stat(o.coverage.c_str(), &info) == 0) {
        for (const char* name : {"coverage.html", "coverage.json"}) {
            const std::string target = (std::filesystem::path(o.coverage) / name).string();
            if (std::string problem = check_target(target); !problem.empty()) {
                return problem;
            }
        }
    }
    return {};
}

file_result run_file(const std::string& path, const options& o, coverage_collector* coverage) {
    const auto started = std::chrono::steady_clock::now();
    file_result result{path, {}, 0};
    std::string text;
    std::string error;
    if (!read_scenario_file(path, text, error)) {
        result.outcome.status = outcome_status::cannot_run;
        result.outcome.message = path + ": " + error;
        if (coverage != nullptr) {
            coverage->not_played(path, error);
        }
    } else {
        player_options play = o.play;
        if (coverage != nullptr) {
            coverage->add_file(path, text);
            play.observer = coverage;
        }
        result.outcome = play_scenario_text(text, path, play);
        if (coverage != nullptr && result.outcome.status == outcome_status::cannot_run) {
            const std::string& m = result.outcome.message;
            coverage->not_played(path, m.substr(0, m.find('\n')));
        }
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
    case outcome_status::cannot_run:
        std::cout << std::flush;
        std::cerr << failure_report(o) << std::flush;
        break;
    }
    std::cout << std::flush;
}

// The signal that asked the runner to stop, or 0.
volatile std::sig_atomic_t stop_signal = 0;

void on_stop_signal(int signal) {
    if (stop_signal != 0) {
        end_by_signal(signal);
    }
    stop_signal = signal;
}

// SIGINT and SIGTERM stop the scenario playing; the reports of the finished files are still
// written. A second one ends the program at once, without a partial file.
void catch_stop_signals() {
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigfillset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// After the coverage summary: how many files did not play through, if any.
std::string not_played(const coverage_data& data) {
    std::size_t n = 0;
    for (const coverage_data::source& f : data.files) {
        n += f.not_played.empty() ? 0 : 1;
    }
    return n == 0 ? std::string()
                  : "; " + std::to_string(n) + " of " + std::to_string(data.files.size()) +
                        (data.files.size() == 1 ? " file" : " files") +
                        " not played (a mistake or unreadable)";
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
        } else if (a == "--out" || a == "--junit" || a == "--coverage" || a == "--journal") {
            const char* v = value(a.c_str());
            if (v == nullptr) {
                return CANNOT_RUN;
            }
            (a == "--out"        ? o.play.out_dir
             : a == "--junit"    ? o.junit
             : a == "--coverage" ? o.coverage
                                 : o.journal) = v;
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

// Plays every file and writes the reports; the exit status.
int play_files(options& o) {
    // Past a file-size limit a write fails with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    o.play.print_to = &std::cout;
    o.play.stop = &stop_signal;
    std::set<std::string> failure_names;
    o.play.failure_names = &failure_names;
    catch_stop_signals();
    play_journal journal;
    if (!o.journal.empty()) {
        o.play.journal = &journal;
    }
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
        // A file stopped halfway counts for nothing in the coverage either.
        coverage_data before;
        if (coverage) {
            before = coverage->data();
        }
        file_result result = run_file(file, o, coverage.get());
        if (result.outcome.interrupted) {
            if (coverage) {
                coverage->go_back_to(before);
            }
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
    if (!o.journal.empty()) {
        if (const std::string error = write_whole_file(o.journal, journal.bytes());
            !error.empty()) {
            std::cerr << "txm9-scenario: " << valid_utf8(error) << "\n";
            status = CANNOT_RUN;
        }
    }
    if (coverage) {
        if (const std::string error = write_coverage_report(o.coverage, coverage->data());
            !error.empty()) {
            std::cerr << "txm9-scenario: " << valid_utf8(error) << "\n";
            status = CANNOT_RUN;
        } else {
            std::cout << summary_line(summarise(coverage->data())) << not_played(coverage->data())
                      << " ("
                      << valid_utf8((std::filesystem::path(o.coverage) / "coverage.html").string())
                      << ")\n";
        }
    }
    // A stop during the reports waited for them: they are whole, and the status says it came.
    if (stop_signal != 0) {
        std::cerr << "txm9-scenario: interrupted (" << strsignal(stop_signal) << ") after "
                  << results.size() << " of " << o.files.size() << " files\n";
        return 128 + stop_signal;
    }
    return status;
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
    for (const std::string& file : o.files) {
        protect_input(file, "the scenario " + file);
    }
    if (const std::string problem = output_problem(o); !problem.empty()) {
        std::cerr << "txm9-scenario: " << valid_utf8(problem) << "\n";
        return CANNOT_RUN;
    }
    // The output folder is made now, so that a scenario's screenshots find it; a run that
    // fails leaves it behind only if it holds something.
    made_folders made;
    if (!o.play.out_dir.empty()) {
        if (const std::string error = made.make(o.play.out_dir); !error.empty()) {
            made.remove_empty();
            std::cerr << "txm9-scenario: cannot create " << valid_utf8(o.play.out_dir) << ": "
                      << error << "\n";
            return CANNOT_RUN;
        }
    }
    const int status = play_files(o);
    if (status != PASSED) {
        made.remove_empty();
    }
    return status;
}
