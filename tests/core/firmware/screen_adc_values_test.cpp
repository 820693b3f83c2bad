// ADC values screen: only the knob press on the leave row does anything.
#include <gtest/gtest.h>

#include "firmware/monitor/screens.h"
#include "screen_pass.h"

using namespace txm9;

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

// --- What the screen shows ---

TEST_F(AdcValues, CountsWithoutLeadingBlanksRightBehindTheLabels) {
    const struct {
        uint8_t lang;
        uint32_t volts, amps;
        const char *title, *leave, *volts_line, *amps_line;
        uint8_t title_x;
    } cases[] = {
        {0, 7, 0, "ADC VALUES", "*** DONE ***", "VOLTS: 7", "AMPS: 0", 17},
        {0, 4096, 1872, "ADC VALUES", "*** DONE ***", "VOLTS: 4096", "AMPS: 1872", 17},
        {1, 1500, 35, "VALEUR A/D", "*** FINI ***", "VOLTS: 1500", "AMPS: 35", 17},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volts_line);
        language = c.lang;
        volts_adc = c.volts;
        amps_adc = c.amps;
        run_pass();
        EXPECT_TRUE(band_shows(0, {plain(c.title, c.title_x)}));
        EXPECT_TRUE(row_shows(0, {inverted(c.leave, 9)})) << "the leave row is always selected";
        EXPECT_TRUE(row_shows(1, {plain(c.volts_line)}));
        EXPECT_TRUE(row_shows(2, {plain(c.amps_line)}));
        EXPECT_TRUE(row_shows(3, {}));
    }
}

} // namespace
