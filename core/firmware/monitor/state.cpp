#include "firmware/monitor/state.h"

#include "firmware/board/hooks.h"

#define TXM9_VARIABLE(type, name, kind) type name;
#define TXM9_SCREEN_VARIABLE(name) screen_routine name;
#include "firmware/monitor/state_variables.def"

void load_display_defaults() {
    contrast = 37;
    apply_contrast();
    backlight_on = 1;
    display_mode = 0;
    auto_cycle = 0;
    cycle_time_index = 1;
    shunt_amps = 50;
    shunt_millivolts = 50;
    bar_scale_amps = 50;
    low_alarm_dv = 100;
    high_alarm_dv = 150;
    volt_alarm_enabled = 1;
    language = 0;
}

void load_calibration_defaults() {
    // The factory calibration of the current input: 1872 counts at 0 mV, 248 at +50 mV
    // (charging), 3499 at -50 mV (discharging).
    volt_cal_percent = 100;
    cal_zero_adc = 1872;
    cal_charge_adc = 248;
    cal_discharge_adc = 3499;
    commit_settings();
}

void reset_peaks() {
    // The voltage peak restarts from the present reading, not from zero; after an OFF and
    // ON that reading is still the one of the previous run until the first pass.
    peak_volts_dv = volts_dv;
    peak_charge_da = 0;
    peak_discharge_da = 0;
    peaks_reset_hook();
}
