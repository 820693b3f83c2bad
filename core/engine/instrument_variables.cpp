#include "engine/instrument_variables.h"

#include "firmware/monitor/state.h"

namespace txm9 {

namespace {

using g = variable_group;

// One entry per variable: its name, group, and a reader and writer of its own type.
#define TXM9_VARIABLE(name, group)                                                                 \
    instrument_variable {                                                                          \
#name, group, [] { return static_cast<int64_t>(name); },                                   \
            [](int64_t v) { name = static_cast<decltype(name)>(v); }       \
    }

} // namespace

const instrument_variable instrument_variables[] = {
    TXM9_VARIABLE(contrast, g::settings),
    TXM9_VARIABLE(backlight_on, g::settings),
    TXM9_VARIABLE(language, g::settings),
    TXM9_VARIABLE(display_mode, g::settings),
    TXM9_VARIABLE(auto_cycle, g::settings),
    TXM9_VARIABLE(cycle_time_index, g::settings),
    TXM9_VARIABLE(shunt_amps, g::settings),
    TXM9_VARIABLE(shunt_millivolts, g::settings),
    TXM9_VARIABLE(bar_scale_amps, g::settings),
    TXM9_VARIABLE(volt_alarm_enabled, g::settings),
    TXM9_VARIABLE(low_alarm_dv, g::settings),
    TXM9_VARIABLE(high_alarm_dv, g::settings),
    TXM9_VARIABLE(volt_cal_percent, g::calibration),
    TXM9_VARIABLE(cal_zero_adc, g::calibration),
    TXM9_VARIABLE(cal_charge_adc, g::calibration),
    TXM9_VARIABLE(cal_discharge_adc, g::calibration),
    TXM9_VARIABLE(raw_volts_adc, g::measurement),
    TXM9_VARIABLE(raw_amps_adc, g::measurement),
    TXM9_VARIABLE(volts_filter_acc, g::measurement),
    TXM9_VARIABLE(amps_filter_acc, g::measurement),
    TXM9_VARIABLE(volts_adc, g::measurement),
    TXM9_VARIABLE(amps_adc, g::measurement),
    TXM9_VARIABLE(volts_dv, g::measurement),
    TXM9_VARIABLE(current_da, g::measurement),
    TXM9_VARIABLE(peak_volts_dv, g::measurement),
    TXM9_VARIABLE(peak_charge_da, g::measurement),
    TXM9_VARIABLE(peak_discharge_da, g::measurement),
    TXM9_VARIABLE(volt_alarm, g::alarm),
    TXM9_VARIABLE(alarm_ack, g::alarm),
    TXM9_VARIABLE(amps_page, g::screens),
    TXM9_VARIABLE(calibrate_enabled, g::screens),
    TXM9_VARIABLE(menu_cursor, g::screens),
    TXM9_VARIABLE(edit_mode, g::screens),
    TXM9_VARIABLE(pending_key, g::screens),
    TXM9_VARIABLE(key_step, g::screens),
    TXM9_VARIABLE(idle_countdown, g::screens),
    TXM9_VARIABLE(blink_phase, g::tick),
    TXM9_VARIABLE(blink_ticks, g::tick),
    TXM9_VARIABLE(step_ticks, g::tick),
    TXM9_VARIABLE(cycle_steps, g::tick),
    TXM9_VARIABLE(power_off_request, g::tick),
};

#undef TXM9_VARIABLE

const int INSTRUMENT_VARIABLE_COUNT =
    static_cast<int>(sizeof instrument_variables / sizeof instrument_variables[0]);

const instrument_variable* find_instrument_variable(std::string_view name) {
    for (const instrument_variable& v : instrument_variables) {
        if (name == v.name) {
            return &v;
        }
    }
    return nullptr;
}

} // namespace txm9
