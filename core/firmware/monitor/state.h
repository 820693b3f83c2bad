// The battery monitor's module-level state: settings, calibration, measurement results,
// alarm flags and the few variables that steer the screens. Everything is zero at program
// start; the power-on reset loads the factory values.
#pragma once

#include <cstdint>

// A screen routine draws one whole screen into the cleared frame buffer, then handles and
// empties `pending_key`.
using screen_routine = void (*)();

// --- Settings and calibration (restored by every power-on) ---
extern uint8_t contrast;           // LCD contrast level 0..57
extern uint8_t backlight_on;       // 1 backlight on, 0 off
extern uint8_t language;           // 0 English, 1 French
extern uint8_t display_mode;       // 0 volts and amps together, 1 volts, 2 amps
extern uint8_t auto_cycle;         // 1: the main display alternates its pages by itself
extern uint8_t cycle_time_index;   // index 0..6 into cycle_times
extern uint32_t shunt_amps;        // shunt rating in amps, 5..500 by 5
extern uint32_t shunt_millivolts;  // shunt voltage at its rated current, mV
extern uint32_t bar_scale_amps;    // full scale of the current bar in amps, 5..500 by 5
extern uint8_t volt_alarm_enabled; // 1: the voltage alarm is armed
extern uint32_t low_alarm_dv;      // low alarm threshold, tenths of a volt, 80..300
extern uint32_t high_alarm_dv;     // high alarm threshold, tenths of a volt, 80..300
extern uint8_t volt_cal_percent;   // voltage calibration factor, percent 50..150
inline constexpr uint8_t VOLT_CAL_PERCENT_LOW = 50;
inline constexpr uint8_t VOLT_CAL_PERCENT_HIGH = 150;
extern uint32_t cal_zero_adc;      // filtered current count at 0 mV across the shunt
extern uint32_t cal_charge_adc;    // filtered current count at +50 mV (charging)
extern uint32_t cal_discharge_adc; // filtered current count at -50 mV (discharging)

// --- Measurement state ---
extern uint32_t raw_volts_adc;     // latest voltage converter count 0..4096 (the volts slider)
extern uint32_t raw_amps_adc;      // latest current converter count 0..4096 (the amps slider)
extern int32_t volts_filter_acc;   // four times the filtered voltage count
extern int32_t amps_filter_acc;    // twice the filtered current count
extern uint32_t volts_adc;         // filtered voltage count
extern uint32_t amps_adc;          // filtered current count
extern uint32_t volts_dv;          // battery voltage, tenths of a volt
extern int32_t current_da;         // battery current, tenths of an amp, positive while charging
extern uint32_t peak_volts_dv;     // highest voltage since the last peak reset
extern int32_t peak_charge_da;     // highest current since the last peak reset, >= 0
extern int32_t peak_discharge_da;  // lowest current since the last peak reset, <= 0

// --- Alarm and display flags ---
extern uint8_t volt_alarm;         // bit 0: armed and the voltage is outside the alarm window
extern uint8_t alarm_ack;          // bit 0: the present alarm has been acknowledged with a key
extern uint8_t amps_page;          // display modes 1 and 2: 0 voltage page, 1 current page
extern uint8_t calibrate_enabled;  // 1: the main menu offers its calibration entries

// --- Screens, keys and timing ---
extern screen_routine active_screen; // the screen run once per pass
extern screen_routine return_screen; // where the contrast and message screens go back to
extern uint8_t menu_cursor;          // selected row or item of the present screen
extern uint8_t edit_mode;            // 1 while the selected row's value is being changed
extern uint8_t pending_key;          // 0 when empty, else one key code
extern uint8_t key_step;             // alarm threshold step: 10 with KeyFast ticked, else 1
extern uint8_t idle_countdown;       // inactivity countdown in 2-second steps, reloaded to 30
extern uint8_t blink_phase;          // 0/1, flipped every 11 ticks of 100 ms
extern uint8_t blink_ticks;          // ticks since the last flip of blink_phase, 0..10
extern uint8_t step_ticks;           // ticks within the present 2-second period, 0..19
extern uint8_t cycle_steps;          // 2-second periods since the last automatic page change
extern uint8_t power_off_request;    // 1 ends the main loop (the OFF button)

// Seconds per page of the automatic page alternation as the display setup screen shows
// them; the tick counts them in 2-second steps.
inline constexpr uint8_t cycle_times[7] = {1, 3, 5, 10, 15, 30, 60};

// Factory display, battery and alarm settings (calls apply_contrast after the contrast).
void load_display_defaults();
// Factory voltage factor and current calibration points, then commit_settings.
void load_calibration_defaults();
// Restarts peak tracking: the voltage peak from the present voltage, both current peaks at 0.
void reset_peaks();
