// The peak values screen: the peak reset and the way back to the main display.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class ScreenMaxValues : public ScreenTest {
protected:
    void SetUp() override {
        open(screen_max_values);
        volts_dv = 123;
        peak_volts_dv = 148;
        peak_charge_da = 576;
        peak_discharge_da = -39;
    }

    void expect_peaks(uint32_t volts, int32_t charge, int32_t discharge) {
        EXPECT_EQ(peak_volts_dv, volts);
        EXPECT_EQ(peak_charge_da, charge);
        EXPECT_EQ(peak_discharge_da, discharge);
    }
};

TEST_F(ScreenMaxValues, LeftKeyRestartsThePeaksAndStays) {
    press(KEY_LEFT);
    expect_peaks(123, 0, 0);
    EXPECT_EQ(active_screen, screen_max_values);
    EXPECT_EQ(pending_key, 0);
}

TEST_F(ScreenMaxValues, OtherKeysReturnToTheMainDisplay) {
    struct {
        uint8_t key;
        screen_routine screen;
    } cases[] = {{KEY_SELECT, screen_main}, {KEY_CW, screen_main},  {KEY_CCW, screen_main},
                 {KEY_RIGHT, screen_main},  {0, screen_max_values}, {6, screen_max_values},
                 {255, screen_max_values}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "key " << int(c.key));
        active_screen = screen_max_values;
        press(c.key);
        EXPECT_EQ(active_screen, c.screen);
        EXPECT_EQ(pending_key, 0);
        expect_peaks(148, 576, -39);
    }
}

TEST_F(ScreenMaxValues, TheVoltageAlarmPlaysNoPartHere) {
    volt_alarm = 1;
    alarm_ack = 0;
    press(KEY_LEFT);
    expect_peaks(123, 0, 0);
    EXPECT_EQ(alarm_ack, 0);
    press(KEY_CW);
    EXPECT_EQ(active_screen, screen_main);
    EXPECT_EQ(alarm_ack, 0);
}

TEST_F(ScreenMaxValues, ShowsTheThreePeaks) {
    struct {
        const char* name;
        uint32_t shunt, volts;
        int32_t charge, discharge;
        const char *volts_text, *charge_text, *discharge_text; // double height from column 75
    } cases[] = {
        {"mixed styles", 50, 126, 576, -39, "12.6V", "  57A", " 3.9A"},
        {"at 10.0 A", 50, 50, 100, -99, " 5.0V", "  10A", " 9.9A"},
        {"restarted", 50, 0, 0, 0, " 0.0V", " 0.0A", " 0.0A"},
        {"150 A shunt: whole amps", 150, 301, 50, -1234, "30.1V", "   5A", " 123A"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shunt_amps = c.shunt;
        peak_volts_dv = c.volts;
        peak_charge_da = c.charge;
        peak_discharge_da = c.discharge;
        press(0);
        EXPECT_EQ(read_double_text(75, 9, 5), c.volts_text);
        EXPECT_EQ(read_double_text(75, 25, 5), c.charge_text);
        EXPECT_EQ(read_double_text(75, 41, 5), c.discharge_text);
    }

    // A saturated discharge peak still has its magnitude; its first digits show.
    peak_discharge_da = INT32_MIN;
    press(0);
    EXPECT_EQ(read_double_text(75, 41, 4), "2147");
}

TEST_F(ScreenMaxValues, LabelsAndTheResetKeyInBothLanguages) {
    struct {
        uint8_t lang;
        const char *title, *discharge, *reset;
    } cases[] = {{0, "MAX VALUES", "DCHARGE:", " RESET "}, {1, "VALEURSMAX", "DECHARGE:", " RAZ "}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        language = c.lang;
        press(0);
        EXPECT_EQ(read_text(17, 0, 10), c.title);
        EXPECT_EQ(read_text(0, 10, 6), "VOLTS:");
        EXPECT_EQ(read_text(0, 26, 7), "CHARGE:");
        EXPECT_EQ(read_text(0, 42, static_cast<uint8_t>(std::strlen(c.discharge))), c.discharge);
        EXPECT_EQ(find_text(56), (screen_text{c.reset, 0, true}));
    }
}

} // namespace
