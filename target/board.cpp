// The microcontroller's board hooks. The emulated board has no contrast pin, EEPROM or alarm
// relay, so those hooks only mark the places; the backlight pin's latch reads back as the
// setting, as on the desktop; the FPU's trap is reported to the host and halts the processor.
#include "firmware/board/hooks.h"
#include "firmware/monitor/state.h"
#include "halt.h"
#include "semihosting.h"

void apply_contrast() {}
void commit_settings() {}
void peaks_reset_hook() {}
void alarm_output_on() {}
void alarm_output_off() {}

void backlight_output_on() {
    backlight_on = 1;
}
void backlight_output_off() {
    backlight_on = 0;
}

void fpu_fault(const char* message) {
    host_print("txm9 target: the FPU trapped (");
    host_print(message);
    host_print("); halted until the next ON\n");
    halt_until_switched_on(message);
}
