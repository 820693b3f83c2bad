// Writing a command back as the line of the scenario language that parses to it: what the
// session recorder saves.
#pragma once

#include <string>

#include "scenario/scenario.h"

namespace txm9 {

// The command's line, without the line end.
std::string command_text(const command& c);

} // namespace txm9
