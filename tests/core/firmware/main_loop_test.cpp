// The firmware's steps of a main-loop pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/main_loop.h"
#include "firmware/monitor/measurement.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

namespace {

TEST(InactivityReturn, MainDisplayIgnoresAnExpiredCountdown) {
    active_screen = screen_main;
    idle_countdown = 0;
    inactivity_return();
    EXPECT_EQ(active_screen, screen_main);
    EXPECT_EQ(idle_countdown, 0) << "the countdown stays at 0 on the main display";
}

TEST(InactivityReturn, AnyOtherScreenGoesBackToTheMainDisplay) {
    const screen_routine others[] = {screen_max_values, screen_menu,          screen_display_setup,
                                     screen_contrast,   screen_battery_setup, screen_adc_values,
                                     screen_calibrate,  screen_message};
    int index = 0;
    for (screen_routine other : others) {
        SCOPED_TRACE("screen " + std::to_string(index++));
        active_screen = other;
        return_screen = screen_display_setup;
        menu_cursor = 3;
        edit_mode = 1;
        pending_key = 2;
        idle_countdown = 0;
        inactivity_return();
        EXPECT_EQ(active_screen, screen_main);
        EXPECT_EQ(idle_countdown, 30);
        EXPECT_EQ(menu_cursor, 3) << "cursor left alone";
        EXPECT_EQ(edit_mode, 1) << "edit state left alone";
        EXPECT_EQ(return_screen, screen_display_setup);
        EXPECT_EQ(pending_key, 2) << "a waiting key is left for the main display";
    }
}

TEST(InactivityReturn, RunningCountdownLeavesTheScreen) {
    active_screen = screen_menu;
    idle_countdown = 1;
    inactivity_return();
    EXPECT_EQ(active_screen, screen_menu);
    EXPECT_EQ(idle_countdown, 1);
}

TEST(AlarmOutput, LampLitOnlyForAnUnacknowledgedAlarmInTheBrightPhase) {
    struct lamp_case {
        const char* name;
        uint8_t volt_alarm, alarm_ack, blink_phase;
        uint8_t lit;
    };
    const lamp_case cases[] = {
        {"alarm, bright phase", 1, 0, 1, 1}, {"alarm, dark phase", 1, 0, 0, 0},
        {"acknowledged", 1, 1, 1, 0},        {"no alarm", 0, 0, 1, 0},
        {"any alarm bit", 2, 0, 1, 1},       {"phase not exactly 1", 1, 0, 2, 0},
    };
    for (const lamp_case& c : cases) {
        SCOPED_TRACE(c.name);
        volt_alarm = c.volt_alarm;
        alarm_ack = c.alarm_ack;
        blink_phase = c.blink_phase;
        EXPECT_EQ(drive_alarm_output(), c.lit);
    }
}

TEST(Backlight, FollowsTheSettingOnEveryPass) {
    const uint8_t settings[] = {1, 0, 5};
    const uint8_t expected[] = {1, 0, 0};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE("backlight_on " + std::to_string(settings[i]));
        backlight_on = settings[i];
        drive_backlight();
        EXPECT_EQ(backlight_on, expected[i]);
    }
}

TEST(PanelSwitches, CalibrateAndKeyFastAreCopiedIn) {
    sample_calibrate_switch(1);
    EXPECT_EQ(calibrate_enabled, 1);
    sample_calibrate_switch(0);
    EXPECT_EQ(calibrate_enabled, 0);
    sample_key_fast_switch(1);
    EXPECT_EQ(key_step, 10);
    sample_key_fast_switch(0);
    EXPECT_EQ(key_step, 1);
}

bool buffer_was_clear;

void probe_screen() {
    buffer_was_clear =
        std::all_of(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, [](uint8_t b) { return b == 0; });
    lcd_put_pixel(5, 6, PIXEL_SET);
}

TEST(DrawActiveScreen, RunsTheScreenOnAClearedFrameBuffer) {
    std::fill(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, 0xA5);
    buffer_was_clear = false;
    active_screen = probe_screen;
    draw_active_screen();
    EXPECT_TRUE(buffer_was_clear);
    EXPECT_EQ(lcd_get_pixel(5, 6), 1) << "the screen's drawing stays for painting";
    active_screen = screen_main;
}

TEST(MeasureInputs, VoltageComesBeforeTheCurrent) {
    power_on_reset();
    raw_volts_adc = 1455; // 12.0 V
    raw_amps_adc = 0;
    amps_filter_acc = 0;
    cal_charge_adc = cal_zero_adc; // zero-width calibration on the charging side
    volts_dv = 0;
    EXPECT_THROW(measure_inputs(), floating_point_error);
    EXPECT_EQ(volts_dv, 120u) << "the voltage step ran before the current step failed";
    load_calibration_defaults();
}

TEST(MeasureInputs, OneStepOfBoth) {
    power_on_reset();
    raw_volts_adc = 1455;
    raw_amps_adc = 1872;
    measure_inputs();
    EXPECT_EQ(volts_dv, 120u);
    EXPECT_NE(amps_adc, 0u) << "the current filter took a step";
}

} // namespace
