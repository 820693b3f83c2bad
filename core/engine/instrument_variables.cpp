#include "engine/instrument_variables.h"

#include "firmware/monitor/state.h"

namespace txm9 {

// One entry per numeric variable of the list: its name, group, and a reader and writer of its
// own type.
const instrument_variable instrument_variables[] = {
#define TXM9_VARIABLE(type, name, kind)                                                            \
    {#name, variable_group::kind, [] { return static_cast<int64_t>(name); },                       \
     [](int64_t v) { name = static_cast<type>(v); }},
#include "firmware/monitor/state_variables.def"
};

const screen_variable screen_variables[] = {
#define TXM9_VARIABLE(type, name, kind)
#define TXM9_SCREEN_VARIABLE(name) {#name, &name},
#include "firmware/monitor/state_variables.def"
};

const int INSTRUMENT_VARIABLE_COUNT =
    static_cast<int>(sizeof instrument_variables / sizeof instrument_variables[0]);
const int SCREEN_VARIABLE_COUNT =
    static_cast<int>(sizeof screen_variables / sizeof screen_variables[0]);

const instrument_variable* find_instrument_variable(std::string_view name) {
    for (const instrument_variable& v : instrument_variables) {
        if (name == v.name) {
            return &v;
        }
    }
    return nullptr;
}

} // namespace txm9
