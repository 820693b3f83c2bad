// ADC values screen: only the knob press on the leave row does anything.
#include <gtest/gtest.h>

#include "screen_pass.h"
#include "screens.h"

namespace {

using namespace screen_test;

class AdcValues : public ScreenTest {
protected:
    void SetUp() override { open(screen_adc_values); }
};

TEST_F(AdcValues, SelectLeavesToTheAdcItemWithoutAHook) {
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_menu);
    EXPECT_EQ(menu_cursor, 3);
    EXPECT_EQ(pending_key, 0);
    EXPECT_EQ(hook_calls.commit_settings, 0);
}

TEST_F(AdcValues, EveryOtherKeyIsDiscarded) {
    for (uint8_t key : {KEY_CW, KEY_CCW, KEY_LEFT, KEY_RIGHT, uint8_t{6}, uint8_t{255}}) {
        SCOPED_TRACE(::testing::Message() << "key " << int(key));
        press(key);
        EXPECT_EQ(pending_key, 0);
        EXPECT_EQ(menu_cursor, 0) << "nothing moves the cursor off the leave row";
        EXPECT_EQ(edit_mode, 0);
        EXPECT_EQ(active_screen, screen_adc_values);
    }
}

TEST_F(AdcValues, SelectOffTheLeaveRowIsDiscarded) {
    menu_cursor = 2;
    press(KEY_SELECT);
    EXPECT_EQ(pending_key, 0);
    EXPECT_EQ(active_screen, screen_adc_values);
    EXPECT_EQ(menu_cursor, 2);
}

} // namespace
