// Reading a scenario file: one command per line ('#' starts a comment, words are
// case-insensitive, texts in double quotes with \" and \\). The commands, their forms and
// help lines are listed once, in scenario_commands.def; DURATION is a number and ms, s, min
// or passes.
#pragma once

#include <string>
#include <string_view>

#include "scenario/scenario.h"

namespace txm9 {

struct parse_error {
    source_place place;
    std::string message;
};

// Parses the whole text; on the first mistake returns false with `error` set and `out`
// holding the commands before it.
bool parse_scenario(std::string_view text, scenario& out, parse_error& error);

// The longest a single wait may last, so that no scenario can hang a CI job.
inline constexpr uint64_t LONGEST_WAIT_MS = 24ull * 60 * 60 * 1000;
inline constexpr uint32_t MOST_TURNS = 1000;

} // namespace txm9
