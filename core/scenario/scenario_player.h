// Playing a scenario on the front-panel engine with instrument time from a virtual clock: a
// frame every 25 ms, Timer1's tick every 100 ms, as fast as the processor allows. The
// program starts as the window does: off, every variable zero, both boxes clear. A mistake in
// the scenario, found before it runs or while it runs (a reference frame that cannot serve, a
// value no count can give at that moment, too many nested runs), leaves no trace: what it
// prints and the files it makes go out only once it has ended without one.
#pragma once

#include <csignal>
#include <cstdint>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/scenario.h"

namespace txm9 {

struct player_options {
    std::string out_dir;          // screenshots and failure pictures; empty: beside the scenario
    bool update = false;          // write reference frames instead of comparing with them
    uint64_t time_limit_ms = 0;   // stop a scenario after this much instrument time; 0: never
    double real_time_limit_s = 0; // fail a scenario still playing after this; 0: never
    // Set by a signal handler: the scenario stops at once, with `interrupted` in its outcome.
    const volatile std::sig_atomic_t* stop = nullptr;
    std::ostream* print_to = nullptr; // where `print` writes; nowhere if null
    bool files = true;                // false: screenshots and frames neither read nor written
    // The failure pictures' names already written in this run, so that two references of the
    // same name (in two scenarios) do not overwrite each other's; each file by itself if null.
    std::set<std::string>* failure_names = nullptr;
};

enum class outcome_status { passed, failed, cannot_run };

struct scenario_outcome {
    outcome_status status = outcome_status::passed;
    std::string message;              // what failed, and what the display showed
    std::vector<std::string> notices; // faults that ended runs, files written
    uint64_t passes = 0;              // main-loop passes
    uint64_t instrument_ms = 0;       // instrument time the scenario took
    bool interrupted = false;         // stopped by `stop`: no outcome to report
};

scenario_outcome play_scenario(const scenario& script, const player_options& options);

// Reads a scenario from its text and plays it. A mistake in it is the outcome cannot_run with
// "FILE:LINE:COLUMN: message", and nothing runs. `file` names it in messages; relative paths
// start in its folder.
scenario_outcome play_scenario_text(std::string_view text, const std::string& file,
                                    const player_options& options);

} // namespace txm9
