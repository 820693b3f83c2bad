// Factory settings, the power-on reset and the hooks.
#include <gtest/gtest.h>

#include "firmware/board/hooks.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

namespace {

// Puts every setting somewhere other than its factory value.
void scramble_settings() {
    contrast = 3;
    backlight_on = 0;
    language = 1;
    display_mode = 2;
    auto_cycle = 1;
    cycle_time_index = 6;
    shunt_amps = 500;
    shunt_millivolts = 7;
    bar_scale_amps = 5;
    volt_alarm_enabled = 0;
    low_alarm_dv = 300;
    high_alarm_dv = 80;
    volt_cal_percent = 150;
    cal_zero_adc = 1;
    cal_charge_adc = 2;
    cal_discharge_adc = 3;
}

TEST(PowerOnReset, RestoresEveryFactoryValue) {
    scramble_settings();
    volt_alarm = 1;
    alarm_ack = 1;
    amps_page = 1;
    calibrate_enabled = 1;
    pending_key = 4;
    cycle_steps = 9;

    power_on_reset();

    EXPECT_EQ(contrast, 37);
    EXPECT_EQ(backlight_on, 1);
    EXPECT_EQ(language, 0);
    EXPECT_EQ(display_mode, 0);
    EXPECT_EQ(auto_cycle, 0);
    EXPECT_EQ(cycle_time_index, 1);
    EXPECT_EQ(cycle_times[cycle_time_index], 3);
    EXPECT_EQ(shunt_amps, 50u);
    EXPECT_EQ(shunt_millivolts, 50u);
    EXPECT_EQ(bar_scale_amps, 50u);
    EXPECT_EQ(volt_alarm_enabled, 1);
    EXPECT_EQ(low_alarm_dv, 100u);
    EXPECT_EQ(high_alarm_dv, 150u);
    EXPECT_EQ(volt_cal_percent, 100);
    EXPECT_EQ(cal_zero_adc, 1872u);
    EXPECT_EQ(cal_charge_adc, 248u);
    EXPECT_EQ(cal_discharge_adc, 3499u);
    EXPECT_EQ(volt_alarm, 0);
    EXPECT_EQ(alarm_ack, 0);
    EXPECT_EQ(amps_page, 0);
    EXPECT_EQ(calibrate_enabled, 0);
    EXPECT_EQ(pending_key, 0);
    EXPECT_EQ(cycle_steps, 0);
}

TEST(PowerOnReset, LeavesFiltersReadingsTickPhaseAndScreenVariablesAlone) {
    volts_filter_acc = 4000;
    amps_filter_acc = 3000;
    volts_adc = 999;
    amps_adc = 1499;
    raw_volts_adc = 1000;
    raw_amps_adc = 1500;
    volts_dv = 82;
    current_da = -17;
    idle_countdown = 12;
    blink_phase = 1;
    blink_ticks = 7;
    step_ticks = 13;
    edit_mode = 1;
    return_screen = screen_calibrate;
    key_step = 10;

    power_on_reset();

    EXPECT_EQ(volts_filter_acc, 4000);
    EXPECT_EQ(amps_filter_acc, 3000);
    EXPECT_EQ(volts_adc, 999u);
    EXPECT_EQ(amps_adc, 1499u);
    EXPECT_EQ(raw_volts_adc, 1000u);
    EXPECT_EQ(raw_amps_adc, 1500u);
    EXPECT_EQ(volts_dv, 82u);
    EXPECT_EQ(current_da, -17);
    EXPECT_EQ(idle_countdown, 12);
    EXPECT_EQ(blink_phase, 1);
    EXPECT_EQ(blink_ticks, 7);
    EXPECT_EQ(step_ticks, 13);
    EXPECT_EQ(edit_mode, 1);
    EXPECT_EQ(return_screen, screen_calibrate);
    EXPECT_EQ(key_step, 10);
}

TEST(PowerOnReset, PeaksRestartFromThePreviousRunsVoltage) {
    volts_dv = 130; // switched off at 13.0 V
    peak_volts_dv = 200;
    peak_charge_da = 300;
    peak_discharge_da = -300;

    power_on_reset();

    EXPECT_EQ(peak_volts_dv, 130u);
    EXPECT_EQ(peak_charge_da, 0);
    EXPECT_EQ(peak_discharge_da, 0);
}

TEST(PowerOnReset, FinishForgetsOffAndOpensTheMainDisplay) {
    power_off_request = 1;
    active_screen = screen_menu;
    menu_cursor = 4;

    power_on_finish();

    EXPECT_EQ(power_off_request, 0);
    EXPECT_EQ(active_screen, screen_main);
    EXPECT_EQ(menu_cursor, 0);
}

TEST(Hooks, BacklightHooksStoreTheSettingAndTheOthersChangeNothing) {
    power_on_reset();
    backlight_output_off();
    EXPECT_EQ(backlight_on, 0);
    backlight_output_off();
    EXPECT_EQ(backlight_on, 0);
    backlight_output_on();
    EXPECT_EQ(backlight_on, 1);

    const uint8_t contrast_before = contrast;
    apply_contrast();
    commit_settings();
    peaks_reset_hook();
    alarm_output_on();
    alarm_output_off();
    EXPECT_EQ(contrast, contrast_before);
    EXPECT_EQ(backlight_on, 1);
}

} // namespace
