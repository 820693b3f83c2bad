// Battery setup list: the alarm rows coming and going, the wrapping steps of the shunt, the
// bar scale and both thresholds, and the way out.
#include <gtest/gtest.h>

#include <string>

#include "firmware/monitor/measurement.h"
#include "firmware/monitor/screens.h"
#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class BatterySetup : public ScreenTest {
protected:
    void SetUp() override { open(screen_battery_setup); }
};

TEST_F(BatterySetup, ThresholdRowsExistOnlyWhileTheAlarmIsOn) {
    struct {
        uint8_t alarm, last;
    } cases[] = {{1, 5}, {0, 3}, {2, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "volt_alarm_enabled " << int(c.alarm));
        volt_alarm_enabled = c.alarm;
        menu_cursor = 0;
        press_times(KEY_CW, 8);
        EXPECT_EQ(menu_cursor, c.last);
        press(KEY_RIGHT);
        EXPECT_EQ(menu_cursor, c.last);
        press_times(KEY_LEFT, 8);
        EXPECT_EQ(menu_cursor, 0);
    }
}

TEST_F(BatterySetup, SwitchingTheAlarmOffRemovesItsRowsWithTheCursorStaying) {
    press_times(KEY_CW, 3);
    press(KEY_SELECT);
    press(KEY_CW);
    ASSERT_EQ(volt_alarm_enabled, 0);
    EXPECT_EQ(menu_cursor, 3);
    press(KEY_SELECT);
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 3) << "rows 4 and 5 are gone";

    press(KEY_SELECT);
    press(KEY_RIGHT);
    press(KEY_SELECT);
    ASSERT_EQ(volt_alarm_enabled, 1);
    press_times(KEY_CW, 2);
    EXPECT_EQ(menu_cursor, 5) << "and back with the alarm";
}

TEST_F(BatterySetup, AlarmSwitchToggles) {
    const struct {
        uint8_t key, from, to;
    } cases[] = {
        {KEY_CW, 0, 1}, {KEY_CCW, 1, 0}, {KEY_LEFT, 1, 0}, {KEY_RIGHT, 0, 1}, {KEY_CW, 4, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << int(c.key) << " from " << int(c.from));
        volt_alarm_enabled = c.from;
        menu_cursor = 3;
        edit_mode = 1;
        press(c.key);
        EXPECT_EQ(volt_alarm_enabled, c.to);
    }
}

struct StepCase {
    const char* name;
    uint8_t row;
    uint8_t key;
    uint8_t step; // key_step: 10 with KeyFast ticked
    uint32_t from, to;
};

uint32_t& setting_of_row(uint8_t row) {
    switch (row) {
    case 1:
        return shunt_amps;
    case 2:
        return bar_scale_amps;
    case 4:
        return low_alarm_dv;
    default:
        return high_alarm_dv;
    }
}

TEST_F(BatterySetup, SettingsStepAndWrapToTheOppositeEnd) {
    const StepCase cases[] = {
        {"shunt 500 forward", 1, KEY_CW, 1, 500, 5},
        {"shunt 5 back", 1, KEY_CCW, 1, 5, 500},
        {"shunt 495 forward", 1, KEY_LEFT, 1, 495, 500},
        {"shunt 10 back", 1, KEY_RIGHT, 1, 10, 5},
        {"shunt steps by 5 even with KeyFast", 1, KEY_CW, 10, 50, 55},
        {"bar scale 500 forward", 2, KEY_LEFT, 1, 500, 5},
        {"bar scale 5 back", 2, KEY_RIGHT, 1, 5, 500},
        {"bar scale 50 forward", 2, KEY_CW, 1, 50, 55},
        {"low 100 KeyFast forward", 4, KEY_CW, 10, 100, 110},
        {"low 100 forward", 4, KEY_CW, 1, 100, 101},
        {"low 295 KeyFast forward wraps to 80", 4, KEY_CW, 10, 295, 80},
        {"low 85 KeyFast back wraps to 300", 4, KEY_CCW, 10, 85, 300},
        {"low 80 back", 4, KEY_RIGHT, 1, 80, 300},
        {"low 300 forward", 4, KEY_LEFT, 1, 300, 80},
        {"low 90 KeyFast back", 4, KEY_RIGHT, 10, 90, 80},
        {"high 300 forward", 5, KEY_CW, 1, 300, 80},
        {"high 80 back", 5, KEY_CCW, 1, 80, 300},
        {"high 295 KeyFast forward wraps to 80", 5, KEY_LEFT, 10, 295, 80},
        {"high 85 KeyFast back wraps to 300", 5, KEY_RIGHT, 10, 85, 300},
        {"high 290 KeyFast forward", 5, KEY_CW, 10, 290, 300},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open(screen_battery_setup);
        key_step = c.step;
        uint32_t& setting = setting_of_row(c.row);
        setting = c.from;
        menu_cursor = c.row;
        edit_mode = 1;
        press(c.key);
        EXPECT_EQ(setting, c.to);
        EXPECT_EQ(menu_cursor, c.row) << "the cursor does not move while editing";
        EXPECT_EQ(edit_mode, 1);
    }
}

TEST_F(BatterySetup, NewThresholdIsInForceOnTheNextMeasurement) {
    raw_volts_adc = 1500; // 12.3 V, inside the factory window
    update_voltage();
    ASSERT_EQ(volt_alarm, 0);
    menu_cursor = 4;
    edit_mode = 1;
    key_step = 10;
    press_times(KEY_CW, 3); // low threshold 13.0 V
    update_voltage();
    EXPECT_EQ(volt_alarm, 1);
}

TEST_F(BatterySetup, RowZeroLeavesToTheBatteryItemWithoutAHook) {
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_menu);
    EXPECT_EQ(menu_cursor, 2);
    EXPECT_EQ(edit_mode, 0);
    EXPECT_EQ(hook_calls.commit_settings, 0);
}

TEST_F(BatterySetup, UnknownKeysAreDiscarded) {
    expect_keys_discarded_on_every_row(5, {6, 100, 255}, [] {
        EXPECT_EQ(shunt_amps, 50u);
        EXPECT_EQ(bar_scale_amps, 50u);
        EXPECT_EQ(volt_alarm_enabled, 1);
        EXPECT_EQ(low_alarm_dv, 100u);
        EXPECT_EQ(high_alarm_dv, 150u);
    });
}

// --- What the list shows ---

// A selected row as one text: with label and value inverted together, the label's trailing
// blank is a dark cell and reads as part of the row.
std::string whole_row(const screen_text& label, const screen_text& value) {
    std::string row = label.text;
    row.resize(value.x / 8, ' ');
    return row + value.text;
}

TEST_F(BatterySetup, FactorySettingsInBothLanguages) {
    run_pass();
    EXPECT_TRUE(band_shows(0, {plain("BAT SETUP", 21)}));
    EXPECT_TRUE(row_shows(0, {inverted("*** DONE ***", 9)}));
    EXPECT_TRUE(row_shows(1, {plain("SHUNT A: 50A")}));
    EXPECT_TRUE(row_shows(2, {plain("BAR SCALE: 50A")}));
    EXPECT_TRUE(row_shows(3, {plain("VOLT ALM: ON")}));
    EXPECT_TRUE(row_shows(4, {plain("LOW ALM: 10.0V")}));
    EXPECT_TRUE(row_shows(5, {plain("HIGH ALM:15.0V")}));

    language = 1;
    run_pass();
    EXPECT_TRUE(band_shows(0, {plain("CONFIG BAT", 17)}));
    EXPECT_TRUE(row_shows(0, {inverted("*** FINI ***", 9)}));
    EXPECT_TRUE(row_shows(1, {plain("SHUNT A: 50A")}));
    EXPECT_TRUE(row_shows(2, {plain("ECHELLE : 50A")}));
    EXPECT_TRUE(row_shows(3, {plain("ALM VOLT: OUI")}));
    EXPECT_TRUE(row_shows(4, {plain("ALM BAS: 10.0V")}));
    EXPECT_TRUE(row_shows(5, {plain("ALM HAUT:15.0V")}));
}

TEST_F(BatterySetup, AlarmOffHidesTheThresholdRows) {
    volt_alarm_enabled = 0;
    menu_cursor = 3;
    run_pass();
    EXPECT_TRUE(row_shows(3, {inverted("VOLT ALM: OFF")}));
    EXPECT_TRUE(row_shows(4, {}));
    EXPECT_TRUE(row_shows(5, {}));
    language = 1;
    run_pass();
    EXPECT_TRUE(row_shows(3, {inverted("ALM VOLT: NON")}));
}

TEST_F(BatterySetup, ValuesWhileEditing) {
    // Editing inverts only the value, which shows where each value starts and its blanks.
    const struct {
        const char* name;
        uint8_t lang, row;
        uint32_t value;
        screen_text label, shown;
    } cases[] = {
        {"shunt 5 A", 0, 1, 5, plain("SHUNT A:"), inverted("5A", 72)},
        {"shunt 500 A", 0, 1, 500, plain("SHUNT A:"), inverted("500A", 72)},
        {"bar scale 5 A right-aligned", 0, 2, 5, plain("BAR SCALE:"), inverted("  5A", 80)},
        {"bar scale 50 A", 0, 2, 50, plain("BAR SCALE:"), inverted(" 50A", 80)},
        {"bar scale 500 A behind the colon", 0, 2, 500, plain("BAR SCALE:"), inverted("500A", 80)},
        {"low 9.5 V without a blank", 0, 4, 95, plain("LOW ALM:"), inverted("9.5V", 72)},
        {"low 30.0 V", 0, 4, 300, plain("LOW ALM:"), inverted("30.0V", 72)},
        {"high 9.5 V four wide", 0, 5, 95, plain("HIGH ALM:"), inverted(" 9.5V", 72)},
        {"high 8.0 V", 0, 5, 80, plain("HIGH ALM:"), inverted(" 8.0V", 72)},
        {"French low 12.3 V", 1, 4, 123, plain("ALM BAS:"), inverted("12.3V", 72)},
        {"French high 30.0 V", 1, 5, 300, plain("ALM HAUT:"), inverted("30.0V", 72)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        language = c.lang;
        setting_of_row(c.row) = c.value;
        menu_cursor = c.row;
        edit_mode = 1;
        run_pass();
        EXPECT_TRUE(row_shows(c.row, {c.label, c.shown}));
        edit_mode = 0;
        run_pass();
        EXPECT_TRUE(row_shows(c.row, {inverted(whole_row(c.label, c.shown))}))
            << "selected, label and value are inverted together";
    }
}

TEST_F(BatterySetup, LongestRowsFitTheWidth) {
    bar_scale_amps = 500;
    high_alarm_dv = 300;
    language = 0;
    run_pass();
    EXPECT_TRUE(row_shows(2, {plain("BAR SCALE:500A")})) << "14 characters end at column 111";
    language = 1;
    run_pass();
    EXPECT_TRUE(row_shows(5, {plain("ALM HAUT:30.0V")})) << "14 characters end at column 111";
}

} // namespace
