// The firmware's side of one pass of the main loop. The front panel calls these in this
// order, hiding the display picture before draw_active_screen, painting the frame buffer
// after it and delivering its events last:
//   measure_inputs, sample_calibrate_switch, inactivity_return, drive_backlight,
//   drive_alarm_output (which tells the panel how to light the lamp), sample_key_fast_switch,
//   draw_active_screen.
#pragma once

#include <cstdint>

// One measurement step: update_voltage, then update_current (which ends in the board's
// fpu_fault on a zero-width current calibration).
void measure_inputs();
// The Calibrate switch (1 ticked) unlocks the menu's calibration entries from this pass on.
void sample_calibrate_switch(uint8_t ticked);
// A minute without keys on any screen but the main display: settings committed and the main
// display shown again; the countdown starts over.
void inactivity_return();
// Drives the backlight pin from `backlight_on`.
void drive_backlight();
// Drives the alarm output; returns 1 when the alarm lamp is lit on this pass (an
// unacknowledged voltage alarm in the bright half of the blink), else 0.
uint8_t drive_alarm_output();
// The KeyFast switch (1 ticked) makes the alarm thresholds move by 1.0 V instead of 0.1 V.
void sample_key_fast_switch(uint8_t ticked);
// Clears the frame buffer and runs the active screen once, which draws its whole screen and
// handles at most one key.
void draw_active_screen();
