// What the module tells the page as JSON: a scenario's outcome by name (texts are quoted
// by the control protocol's json_quote).
#pragma once

#include <string>

#include "control/json.h"
#include "scenario/scenario_player.h"

namespace txm9 {

// "passed", "failed" or "cannot_run".
const char* status_name(outcome_status status);

} // namespace txm9
