// What a front panel playing a scenario says in its status bar, in the same words on the window
// and the page. `name` is the scenario's file name, or empty where the panel plays the one text
// it was given (the page's playground).
#pragma once

#include <string>

#include "scenario/scenario_player.h"

namespace txm9 {

// After an expectation on `line`: "Playing NAME: line 12, 3 expectations met", or the failure's
// first line and the tally when it failed: "... (2 met, 1 failed)".
std::string expectation_status(const std::string& name, int line, bool passed,
                               const std::string& failure, int passed_so_far, int failed_so_far);

// Once the play is over: "NAME played, round 2: 4 expectations met", "... 1 of 4 expectations
// failed; the first: ...", or what kept the scenario from running. Round 1 is not named.
std::string played_status(const std::string& name, int round, const scenario_outcome& outcome);

// What a play that did not pass prints on standard error when it is over, the same from the
// runner and the window: "FAIL FILE:LINE: what failed" with what the display read, or
// "FILE:LINE:COLUMN: the mistake", in readable UTF-8; empty when it passed.
std::string failure_report(const scenario_outcome& outcome);

} // namespace txm9
