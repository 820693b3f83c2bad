// Calibration list with the real measurement: the voltage factor, the three current points
// taken from the filtered count, the confirmation screen and the way out.
#include <gtest/gtest.h>

#include "firmware/monitor/measurement.h"
#include "firmware/monitor/screens.h"
#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class Calibrate : public ScreenTest {
protected:
    void SetUp() override {
        volts_filter_acc = 0;
        amps_filter_acc = 0;
        open(screen_calibrate);
    }

    // A whole pass of the main loop: the measurement, then the screen.
    static void measure_and_run() {
        update_voltage();
        update_current();
        run_pass();
    }

    // Holds the current input and lets the filter settle over enough passes.
    static void hold_current_input(uint32_t count) {
        raw_amps_adc = count;
        for (int i = 0; i < 30; ++i) {
            measure_and_run();
        }
    }
};

TEST_F(Calibrate, CursorRunsOverFiveRows) {
    press_times(KEY_CW, 9);
    EXPECT_EQ(menu_cursor, 4);
    press(KEY_RIGHT);
    EXPECT_EQ(menu_cursor, 4);
    press(KEY_LEFT);
    EXPECT_EQ(menu_cursor, 3);
    press_times(KEY_CCW, 9);
    EXPECT_EQ(menu_cursor, 0);
}

TEST_F(Calibrate, VoltageFactorStepsAndWraps) {
    const struct {
        const char* name;
        uint8_t key, from, to;
    } cases[] = {
        {"150 forward wraps to 50", KEY_CW, 150, 50},
        {"50 back wraps to 150", KEY_CCW, 50, 150},
        {"up key raises", KEY_LEFT, 100, 101},
        {"down key lowers", KEY_RIGHT, 100, 99},
        {"149 forward", KEY_CW, 149, 150},
        {"51 back", KEY_RIGHT, 51, 50},
        {"up key wraps", KEY_LEFT, 150, 50},
        {"down key wraps", KEY_RIGHT, 50, 150},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        volt_cal_percent = c.from;
        menu_cursor = 1;
        edit_mode = 1;
        press(c.key);
        EXPECT_EQ(volt_cal_percent, c.to);
        EXPECT_EQ(menu_cursor, 1);
    }
}

TEST_F(Calibrate, NewFactorShowsInTheVoltageOfTheNextPass) {
    raw_volts_adc = 1500;
    measure_and_run();
    ASSERT_EQ(volts_dv, 123u) << "12.3 V at 100 %";
    press(KEY_CW);
    press(KEY_SELECT);
    press_times(KEY_LEFT, 10);
    ASSERT_EQ(volt_cal_percent, 110);
    measure_and_run();
    EXPECT_EQ(volts_dv, 136u) << "1500 counts at 110 %";
}

TEST_F(Calibrate, EachPointIsTakenFromTheFilteredCountAndUsedFromTheNextPass) {
    const struct {
        const char* name;
        uint8_t row;
        uint32_t input;
        uint32_t* point;
        int32_t current_after; // dA with the new point, 50 A shunt
    } cases[] = {
        {"zero point at 2000", 2, 2000, &cal_zero_adc, 0},
        {"charge point at 1000", 3, 1000, &cal_charge_adc, 500},
        {"discharge point at 3000", 4, 3000, &cal_discharge_adc, -500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open(screen_calibrate);
        hold_current_input(c.input);
        const int32_t current_before = current_da;
        ASSERT_NE(current_before, c.current_after) << "the factory calibration reads otherwise";
        press_times(KEY_CW, c.row);

        press(KEY_SELECT);
        EXPECT_EQ(*c.point, amps_adc);
        EXPECT_EQ(active_screen, screen_message);
        EXPECT_EQ(return_screen, screen_calibrate);
        EXPECT_EQ(current_da, current_before) << "taken after this pass's measurement";

        measure_and_run();
        EXPECT_EQ(current_da, c.current_after) << "the new point is in use";
    }
}

TEST_F(Calibrate, MessageComesBackToTheRowThatTookThePoint) {
    raw_amps_adc = 1900;
    for (uint8_t row = 2; row <= 4; ++row) {
        for (uint8_t key = KEY_SELECT; key <= KEY_RIGHT; ++key) {
            SCOPED_TRACE(::testing::Message() << "row " << int(row) << " key " << int(key));
            open(screen_calibrate);
            press_times(KEY_CW, row);
            press(KEY_SELECT);
            ASSERT_EQ(active_screen, screen_message);
            press(key);
            EXPECT_EQ(active_screen, screen_calibrate);
            EXPECT_EQ(menu_cursor, row);
            EXPECT_EQ(edit_mode, 0);
        }
    }
}

TEST_F(Calibrate, RowZeroLeavesToTheCalibrateItemThenCommits) {
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_menu);
    EXPECT_EQ(menu_cursor, 4);
    EXPECT_EQ(edit_mode, 0);
    EXPECT_EQ(hook_calls.commit_settings, 1);
    EXPECT_EQ(hook_calls.screen_at_commit, screen_menu) << "committed after the switch";
    EXPECT_EQ(hook_calls.cursor_at_commit, 4);
}

TEST_F(Calibrate, UnknownKeysAreDiscarded) {
    expect_keys_discarded_on_every_row(4, {6, 42, 255}, [] {
        EXPECT_EQ(volt_cal_percent, 100);
        EXPECT_EQ(cal_zero_adc, 1872u);
        EXPECT_EQ(cal_charge_adc, 248u);
        EXPECT_EQ(cal_discharge_adc, 3499u);
    });
    EXPECT_EQ(hook_calls.commit_settings, 0);
}

// --- What the list shows ---

TEST_F(Calibrate, FactorWithTheLiveVoltageAndThePointRows) {
    raw_volts_adc = 1500;
    measure_and_run();
    EXPECT_TRUE(band_shows(0, {plain("CALIBRATE", 21)}));
    EXPECT_TRUE(row_shows(0, {inverted("*** DONE ***", 9)}));
    EXPECT_TRUE(row_shows(1, {plain("VOLT:100% 12.3")}));
    EXPECT_TRUE(row_shows(2, {plain("SHUNT 0mV CAL")}));
    EXPECT_TRUE(row_shows(3, {plain("CHARGE +50mV")}));
    EXPECT_TRUE(row_shows(4, {plain("DCHARGE -50mV")}));
    EXPECT_TRUE(row_shows(5, {}));

    language = 1;
    volt_cal_percent = 50;
    measure_and_run();
    EXPECT_TRUE(band_shows(0, {plain("CALIB", 37)}));
    EXPECT_TRUE(row_shows(0, {inverted("*** FINI ***", 9)}));
    EXPECT_TRUE(row_shows(1, {plain("VOLT:50% 6.1")})) << "the same texts in French";
    EXPECT_TRUE(row_shows(2, {plain("SHUNT 0mV CAL")}));
}

TEST_F(Calibrate, HighlightFollowsTheCursorAndTheEdit) {
    raw_volts_adc = 4096;
    measure_and_run(); // 33.7 V
    press(KEY_CW);
    run_pass();
    EXPECT_TRUE(row_shows(0, {plain("*** DONE ***", 9)}));
    EXPECT_TRUE(row_shows(1, {inverted("VOLT:100% 33.7")}));
    press(KEY_SELECT);
    run_pass();
    EXPECT_TRUE(row_shows(1, {plain("VOLT:"), inverted("100% 33.7", 40)}));
    press(KEY_SELECT);
    for (uint8_t row = 2; row <= 4; ++row) {
        SCOPED_TRACE(::testing::Message() << "row " << int(row));
        press(KEY_CW);
        run_pass();
        const char* const names[] = {"SHUNT 0mV CAL", "CHARGE +50mV", "DCHARGE -50mV"};
        for (uint8_t other = 2; other <= 4; ++other) {
            const char* name = names[other - 2];
            EXPECT_TRUE(row_shows(other, {other == row ? inverted(name) : plain(name)}));
        }
    }
}

} // namespace
