// A scenario: the commands of one file, parsed and checked before anything runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace txm9 {

// Where in the file a command or a mistake is, counted from 1.
struct source_place {
    int line = 0;
    int column = 0;
};

// Instrument time a command lets pass: milliseconds, or a number of frames (passes).
struct duration {
    bool in_passes = false;
    uint64_t amount = 0;
};

enum class command_kind : uint8_t {
    on,              // ON; then `time` passes (none given: until the splash has ended)
    off,             // OFF
    press,           // a key: `key`; then two passes, or `time` if given
    turn,            // `count` turns of the knob, one per pass: `key` is KEY_CW or KEY_CCW;
                     // after the last, two passes or `time` if given
    volts,           // the volts slider: `count`, or the count for `value` tenths of a volt
    amps,            // the amps slider: `count`, or the count for `value` tenths of an amp
    calibrate_box,   // `flag`: tick or untick Calibrate
    key_fast_box,    // `flag`: tick or untick KeyFast
    wait,            // `time` passes
    wait_until_text, // until `text` shows, at most `time`
    expect_text,     // `text` shows (`flag`: must be inverted); `negated`: it must not
    expect_screen,   // the active screen is `name`
    expect_lamp,     // `flag`: the lamp is lit
    expect_variable, // `name` `op` `value`
    expect_frame,    // the display equals the picture in `path`
    expect_fault,    // the last run ended by the fault `text`
    screenshot,      // the display into `path` at `count` times its size
    print,           // the display as text art on standard output
};

enum class comparison : uint8_t { equal, not_equal, less, less_equal, greater, greater_equal };

struct command {
    command_kind kind = command_kind::print;
    source_place place;
    uint8_t key = 0;
    uint32_t count = 0;
    bool has_value = false; // volts and amps: `value` given in volts or amps, not `count`
    int64_t value = 0;
    bool flag = false;
    bool negated = false;
    bool has_time = false;
    duration time;
    std::string text;
    std::string name;
    std::string path;
    int path_column = 0; // where `path` starts on the line
    comparison op = comparison::equal;
};

struct scenario {
    std::string file;   // as named on the command line
    std::string folder; // where its relative paths start
    std::vector<command> commands;
};

} // namespace txm9
