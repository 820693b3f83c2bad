#include "firmware/board/hooks.h"

#include "firmware/monitor/state.h"

// The simulator has no contrast pin, EEPROM or alarm relay: these hooks only mark the
// places where the instrument would act.
void apply_contrast() {}
void commit_settings() {}
void peaks_reset_hook() {}
void alarm_output_on() {}
void alarm_output_off() {}

// The backlight pin follows the setting; the simulated picture does not change with it.
void backlight_output_on() {
    backlight_on = 1;
}
void backlight_output_off() {
    backlight_on = 0;
}
