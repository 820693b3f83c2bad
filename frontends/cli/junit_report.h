// A JUnit XML report, one test case per scenario file, for CI systems that show them.
#pragma once

#include <string>
#include <vector>

#include "scenario/scenario_player.h"

struct file_result {
    std::string file;
    txm9::scenario_outcome outcome;
    double seconds = 0; // real time the scenario took
};

// Writes the report whole or not at all; why it could not ("cannot write PATH: REASON"), or
// empty.
std::string write_junit(const std::string& path, const std::vector<file_result>& results);
