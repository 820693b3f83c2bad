// What the module tells the page as JSON: texts quoted, and a scenario's outcome by name.
#pragma once

#include <string>

#include "scenario/scenario_player.h"

namespace txm9 {

// `text` as a JSON string, quotes included.
std::string json_string(const std::string& text);
// "passed", "failed" or "cannot_run".
const char* status_name(outcome_status status);

} // namespace txm9
