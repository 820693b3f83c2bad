// The instrument's numeric state by name, for frontends that show or check it (the scenario
// runner's `expect VARIABLE OP VALUE`, the inspector). The screens themselves (active_screen,
// return_screen) are named through screen_list instead.
#pragma once

#include <cstdint>
#include <string_view>

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

// The variable of that name (exact, lower case), or nullptr.
const instrument_variable* find_instrument_variable(std::string_view name);

} // namespace txm9
