// txm9-scenario: plays scenario files on the instrument's firmware, headless, on instrument
// time, and says which passed. Exit status 0 all passed, 1 an expectation failed, 2 a
// scenario could not run (a mistake in it, an unreadable file, a bad option).
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "coverage/coverage_collector.h"
#include "coverage/coverage_report.h"
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
    "  --coverage DIR  write what the scenarios cover, in the instrument's terms, as\n"
    "                DIR/coverage.html and DIR/coverage.json, and print a summary line\n"
    "  --quiet       print failures only\n"
    "  --help        this text\n"
    "  --version     the program's version\n"
    "\n"
    "exit status: 0 every scenario passed, 1 an expectation failed, 2 a scenario cannot run\n";

struct options {
    player_options play;
    std::string junit;
    std::string coverage;
    bool quiet = false;
    std::vector<std::string> files;
};

bool read_file(const std::string& path, std::string& text, std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = "is a folder, not a scenario file";
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open the file";
        return false;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        error = "cannot read the file";
        return false;
    }
    text = content.str();
    return true;
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
        } else if (a == "--out" || a == "--junit" || a == "--coverage") {
            const char* v = value(a.c_str());
            if (v == nullptr) {
                return CANNOT_RUN;
            }
            (a == "--out" ? o.play.out_dir : a == "--junit" ? o.junit : o.coverage) = v;
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
    o.play.print_to = &std::cout;
    std::vector<file_result> results;
    int status = PASSED;
    std::unique_ptr<coverage_collector> coverage;
    if (!o.coverage.empty()) {
        coverage = std::make_unique<coverage_collector>();
    }
    for (const std::string& file : o.files) {
        results.push_back(run_file(file, o, coverage.get()));
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
    if (coverage) {
        if (const std::string error = write_coverage_report(o.coverage, coverage->data());
            !error.empty()) {
            std::cerr << "txm9-scenario: " << error << "\n";
            status = CANNOT_RUN;
        } else {
            std::cout << summary_line(summarise(coverage->data())) << " ("
                      << (std::filesystem::path(o.coverage) / "coverage.html").string() << ")\n";
        }
    }
    return status;
}
