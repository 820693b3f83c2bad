// The instrument's state by name, made from the firmware's one list of variables: the numbers
// for frontends that show or check them (the scenario runner's `expect VARIABLE OP VALUE`, the
// inspector), and the two screen variables (named through screen_list), so that a reset or a
// snapshot covers everything.
#pragma once

#include <cstdint>
#include <string_view>

#include "firmware/monitor/state.h"

namespace txm9 {

enum class variable_group : uint8_t { settings, calibration, measurement, alarm, screens, tick };

struct instrument_variable {
    const char* name;       // the firmware's own name, e.g. "volts_dv"
    variable_group group;   // where the inspector shows it
    int64_t (*read)();      // its present value, widened
    void (*write)(int64_t); // sets it, truncated to the variable's own width
};

extern const instrument_variable instrument_variables[];
extern const int INSTRUMENT_VARIABLE_COUNT;

struct screen_variable {
    const char* name; // "active_screen", "return_screen"
    screen_routine* variable;
};

extern const screen_variable screen_variables[];
extern const int SCREEN_VARIABLE_COUNT;

// The variable of that name (exact, lower case), or nullptr.
const instrument_variable* find_instrument_variable(std::string_view name);

} // namespace txm9
