// The battery monitor's module-level state: settings, calibration, measurement results,
// alarm flags and the few variables that steer the screens. Everything is zero at program
// start; the power-on reset loads the factory values.
#pragma once

#include <cstdint>

// A screen routine draws one whole screen into the cleared frame buffer, then handles and
// empties `pending_key`.
using screen_routine = void (*)();

// Every variable, declared from the one list (see state_variables.def for each one's meaning).
#define TXM9_VARIABLE(type, name, kind) extern type name;
#define TXM9_SCREEN_VARIABLE(name) extern screen_routine name;
#include "firmware/monitor/state_variables.def"

// The range of the voltage calibration factor, percent.
inline constexpr uint8_t VOLT_CAL_PERCENT_LOW = 50;
inline constexpr uint8_t VOLT_CAL_PERCENT_HIGH = 150;

// Seconds per page of the automatic page alternation as the display setup screen shows
// them; the tick counts them in 2-second steps.
inline constexpr uint8_t cycle_times[7] = {1, 3, 5, 10, 15, 30, 60};

// Factory display, battery and alarm settings (calls apply_contrast after the contrast).
void load_display_defaults();
// Factory voltage factor and current calibration points, then commit_settings.
void load_calibration_defaults();
// Restarts peak tracking: the voltage peak from the present voltage, both current peaks at 0.
void reset_peaks();
