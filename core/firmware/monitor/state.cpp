#include "firmware/monitor/state.h"

#include "firmware/board/hooks.h"

uint8_t contrast;
uint8_t backlight_on;
uint8_t language;
uint8_t display_mode;
uint8_t auto_cycle;
uint8_t cycle_time_index;
uint32_t shunt_amps;
uint32_t shunt_millivolts;
uint32_t bar_scale_amps;
uint8_t volt_alarm_enabled;
uint32_t low_alarm_dv;
uint32_t high_alarm_dv;
uint8_t volt_cal_percent;
uint32_t cal_zero_adc;
uint32_t cal_charge_adc;
uint32_t cal_discharge_adc;

uint32_t raw_volts_adc;
uint32_t raw_amps_adc;
int32_t volts_filter_acc;
int32_t amps_filter_acc;
uint32_t volts_adc;
uint32_t amps_adc;
uint32_t volts_dv;
int32_t current_da;
uint32_t peak_volts_dv;
int32_t peak_charge_da;
int32_t peak_discharge_da;

uint8_t volt_alarm;
uint8_t alarm_ack;
uint8_t amps_page;
uint8_t calibrate_enabled;

screen_routine active_screen;
screen_routine return_screen;
uint8_t menu_cursor;
uint8_t edit_mode;
uint8_t pending_key;
uint8_t key_step;
uint8_t idle_countdown;
uint8_t blink_phase;
uint8_t blink_ticks;
uint8_t step_ticks;
uint8_t cycle_steps;
uint8_t power_off_request;

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
