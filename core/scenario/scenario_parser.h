// Reading a scenario file. The language, one command per line ('#' starts a comment, words
// are case-insensitive, texts in double quotes with \" and \\):
//   on [DURATION]   off   press knob|left|right [then wait DURATION]
//   turn cw|ccw [N] [then wait DURATION]
//   volts COUNT | volts 12.6 V   amps COUNT | amps -3.9 A
//   calibrate on|off   keyfast on|off
//   wait DURATION   wait until text "T" [within DURATION]
//   expect [no] text "T" [inverted]   expect screen NAME   expect lamp lit|unlit
//   expect VARIABLE OP VALUE   expect frame FILE.png|FILE.pbm   expect fault "MESSAGE"
//   screenshot FILE.png [scale N]   print
// DURATION is a number and ms, s, min or passes.
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
