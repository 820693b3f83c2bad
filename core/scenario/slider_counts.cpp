#include "scenario/slider_counts.h"

#include <cstdlib>
#include <limits>

#include "engine/instrument_snapshot.h"
#include "firmware/board/floating_point_error.h"
#include "firmware/monitor/measurement.h"
#include "firmware/monitor/state.h"

namespace txm9 {

namespace {

void settings_in_force(bool instrument_on) {
    if (!instrument_on) {
        load_display_defaults();
        load_calibration_defaults();
    }
}

bool closer(int64_t candidate, int64_t best, int64_t target) {
    return std::llabs(candidate - target) < std::llabs(best - target);
}

} // namespace

int64_t highest_volts_dv() {
    const instrument_state_kept kept;
    volt_cal_percent = VOLT_CAL_PERCENT_HIGH;
    raw_volts_adc = 4096;
    update_voltage();
    return volts_dv;
}

int64_t highest_amps_da() {
    return std::numeric_limits<int32_t>::max();
}

count_for_value volts_count(int64_t dv, bool instrument_on) {
    const instrument_state_kept kept;
    settings_in_force(instrument_on);
    count_for_value found;
    bool any = false;
    for (uint32_t c = 0; c <= 4096; ++c) {
        raw_volts_adc = c;
        update_voltage();
        const int64_t reading = volts_dv;
        if (reading == dv) {
            return {true, c, reading};
        }
        if (!any || closer(reading, found.nearest, dv)) {
            found = {false, c, reading};
            any = true;
        }
    }
    return found;
}

count_for_value amps_count(int64_t da, bool instrument_on) {
    const uint32_t filtered_now = amps_adc;
    count_for_value found;
    bool any = false;
    {
        const instrument_state_kept kept;
        settings_in_force(instrument_on);
        for (uint32_t f = 0; f <= 4096; ++f) {
            raw_amps_adc = f;
            amps_filter_acc = static_cast<int32_t>(2 * f);
            try {
                update_current();
            } catch (const floating_point_error&) {
                continue; // no current at all on a zero-width side
            }
            if (!any || closer(current_da, found.nearest, da)) {
                found = {current_da == da, f, current_da};
                any = true;
            }
        }
    }
    if (found.reachable && found.count > filtered_now && found.count < 4096) {
        ++found.count;
    }
    return found;
}

} // namespace txm9
