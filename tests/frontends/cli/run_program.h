// Runs txm9-scenario as a user runs it: its own process, its exit status, what it printed.
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

struct program_run {
    int status = -1; // the exit status, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

struct run_settings {
    rlim_t file_size_limit = RLIM_INFINITY; // a full disk at this many bytes
    // Sent once standard output holds `signal_after` (a finished file's PASS line, say).
    int signal = 0;
    std::string signal_after;
    int signal_delay_ms = 0; // ... this long after it shows
    // The same signal again, each this many milliseconds after the one before.
    std::vector<int> again_after_ms;
};

// Runs the program with `args` in `folder`.
program_run run_program(const std::vector<std::string>& args, const std::string& folder,
                        const run_settings& settings = {});
