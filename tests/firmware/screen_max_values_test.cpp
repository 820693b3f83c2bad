// The peak values screen: the peak reset and the way back to the main display.
#include <gtest/gtest.h>

#include <cstdint>

#include "framebuffer.h"
#include "keys.h"
#include "power_on.h"
#include "screens.h"
#include "state.h"

namespace {

class ScreenMaxValues : public ::testing::Test {
protected:
    void SetUp() override {
        power_on_reset();
        power_on_finish();
        active_screen = screen_max_values;
        volts_dv = 123;
        peak_volts_dv = 148;
        peak_charge_da = 576;
        peak_discharge_da = -39;
    }

    void pass(uint8_t key) {
        pending_key = key;
        lcd_clear();
        screen_max_values();
    }

    void expect_peaks(uint32_t volts, int32_t charge, int32_t discharge) {
        EXPECT_EQ(peak_volts_dv, volts);
        EXPECT_EQ(peak_charge_da, charge);
        EXPECT_EQ(peak_discharge_da, discharge);
    }
};

TEST_F(ScreenMaxValues, LeftKeyRestartsThePeaksAndStays) {
    pass(KEY_LEFT);
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
        pass(c.key);
        EXPECT_EQ(active_screen, c.screen);
        EXPECT_EQ(pending_key, 0);
        expect_peaks(148, 576, -39);
    }
}

TEST_F(ScreenMaxValues, TheVoltageAlarmPlaysNoPartHere) {
    volt_alarm = 1;
    alarm_ack = 0;
    pass(KEY_LEFT);
    expect_peaks(123, 0, 0);
    EXPECT_EQ(alarm_ack, 0);
    pass(KEY_CW);
    EXPECT_EQ(active_screen, screen_main);
    EXPECT_EQ(alarm_ack, 0);
}

} // namespace
