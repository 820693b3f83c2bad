#include "engine/instrument_snapshot.h"

#include <cstring>

#include "engine/instrument_variables.h"
#include "firmware/monitor/state.h"

namespace txm9 {

instrument_snapshot::instrument_snapshot() {
    values_.reserve(static_cast<std::size_t>(INSTRUMENT_VARIABLE_COUNT));
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        values_.push_back(instrument_variables[i].read());
    }
    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        screens_.push_back(*screen_variables[i].variable);
    }
}

void instrument_snapshot::restore() const {
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        instrument_variables[i].write(values_[static_cast<std::size_t>(i)]);
    }
    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        *screen_variables[i].variable = screens_[static_cast<std::size_t>(i)];
    }
}

bool factory_value(const char* name, int64_t& value) {
    const instrument_variable* v = find_instrument_variable(name);
    if (v == nullptr ||
        (v->group != variable_group::settings && v->group != variable_group::calibration)) {
        return false;
    }
    const instrument_state_kept kept;
    load_display_defaults();
    load_calibration_defaults();
    value = v->read();
    return true;
}

} // namespace txm9
