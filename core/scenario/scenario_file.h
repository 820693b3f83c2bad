// Reading a scenario file. A scenario may come from anyone, and a name may point at anything:
// only a regular file of a sensible size is read, and nothing else is waited on (a FIFO with
// no writer, a terminal) or read without end (/dev/zero).
#pragma once

#include <cstddef>
#include <string>

namespace txm9 {

// The largest scenario file read; hand-written and recorded ones are a few kilobytes.
inline constexpr std::size_t LARGEST_SCENARIO_BYTES = std::size_t{64} << 20;

// Reads the whole file at `path` into `text`; false with why it cannot serve in `error`
// ("is a FIFO, not a scenario file", "cannot read the file: REASON", ...).
bool read_scenario_file(const std::string& path, std::string& text, std::string& error);

} // namespace txm9
