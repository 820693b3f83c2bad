// The points at which the instrument drives its hardware or stores its settings. On the
// instrument they reach the LCD controller, the EEPROM and the output pins; in the simulator
// only the backlight hooks do anything, and the FPU's trap ends the run.
#pragma once

void apply_contrast();       // after every change of `contrast`
void commit_settings();      // store the settings (leaving the menu and some setup screens)
void peaks_reset_hook();     // after the peaks were restarted
void backlight_output_on();  // every pass while `backlight_on` is 1
void backlight_output_off(); // every pass while `backlight_on` is not 1
void alarm_output_on();      // every pass on which the alarm lamp is lit
void alarm_output_off();     // every other pass, and once after the start-up splash

// The FPU trapped on a measurement (a zero divisor or an invalid operation); `message` names
// the trap ("Floating point division by zero"). The instrument halts until it is switched on
// again, so this never returns.
[[noreturn]] void fpu_fault(const char* message);
