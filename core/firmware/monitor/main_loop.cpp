#include "firmware/monitor/main_loop.h"

#include "firmware/board/hooks.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/measurement.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

void measure_inputs() {
    update_voltage();
    update_current();
}

void sample_calibrate_switch(uint8_t ticked) {
    calibrate_enabled = ticked != 0 ? 1 : 0;
}

void inactivity_return() {
    // The cursor and edit state are left alone: every way into a list screen sets them.
    if (idle_countdown == 0 && active_screen != screen_main) {
        idle_countdown = 30;
        commit_settings();
        active_screen = screen_main;
    }
}

void drive_backlight() {
    if (backlight_on == 1) {
        backlight_output_on();
    } else {
        backlight_output_off();
    }
}

uint8_t drive_alarm_output() {
    // The lamp follows the state before the screen runs, so an acknowledging key shows on
    // the lamp from the next pass on.
    if (volt_alarm != 0 && alarm_ack == 0 && blink_phase == 1) {
        alarm_output_on();
        return 1;
    }
    alarm_output_off();
    return 0;
}

void sample_key_fast_switch(uint8_t ticked) {
    key_step = ticked != 0 ? 10 : 1;
}

void draw_active_screen() {
    lcd_clear();
    active_screen();
}
