#include "firmware/monitor/power_on.h"

#include "firmware/board/hooks.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

void power_on_reset() {
    reset_peaks();
    load_display_defaults();
    load_calibration_defaults();
    cycle_steps = 0;
    volt_alarm = 0;
    alarm_ack = 0;
    amps_page = 0;
    calibrate_enabled = 0;
    pending_key = 0;
}

void power_on_finish() {
    alarm_output_off();
    // An OFF clicked during the splash is forgotten here: the splash does not look at it.
    power_off_request = 0;
    active_screen = screen_main;
    menu_cursor = 0;
}
