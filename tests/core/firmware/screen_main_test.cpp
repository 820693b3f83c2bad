// The main display: its over-range limits, the choice of layout, the direction arrows,
// the alarm acknowledgement and the keys.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "firmware/monitor/main_display.h"
#include "screen_pass.h"
#include "support/lcd_pixels.h"

using namespace txm9;

namespace {

using namespace screen_test;

class ScreenMain : public ScreenTest {
protected:
    void SetUp() override {
        open(screen_main);
        blink_phase = 1;
    }
};

TEST_F(ScreenMain, OverRangeLimits) {
    struct {
        uint32_t shunt, volts;
        int32_t current;
        bool volts_over, current_over;
    } cases[] = {
        {50, 300, 550, false, false},
        {50, 301, 551, true, true},
        {50, 0, -550, false, false},
        {50, 0, -551, false, true},
        {150, 0, 1650, false, false},
        {150, 0, -1651, false, true},
        {500, 0, std::numeric_limits<int32_t>::max(), false, true},
        {500, 0, std::numeric_limits<int32_t>::min(), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "shunt " << c.shunt << " A, " << c.volts << " dV, " << c.current << " dA");
        shunt_amps = c.shunt;
        volts_dv = c.volts;
        current_da = c.current;
        EXPECT_EQ(volts_over_range(), c.volts_over);
        EXPECT_EQ(current_over_range(), c.current_over);
    }
    current_da = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(current_magnitude_da(), 2147483648u) << "the saturated current keeps its size";
}

// Layout A's arrow lies in columns 9..19, rows 4..20, clear of the icon and numerals.
std::string large_arrow_area() {
    return lcd_region_art(8, 3, 20, 21);
}
// Layout C's arrow lies in columns 10..16, rows 0..10.
std::string small_arrow_area() {
    return lcd_region_art(9, 0, 17, 11);
}

const std::string large_up =
    art(".............", "......#......", ".....###.....", "....#####....", "...#######...",
        "..#########..", ".###########.", "....#####....", "....#####....", "....#####....",
        "....#####....", "....#####....", "....#####....", "....#####....", "....#####....",
        "....#####....", "....#####....", "....#####....", ".............");
const std::string large_down =
    art(".............", "....#####....", "....#####....", "....#####....", "....#####....",
        "....#####....", "....#####....", "....#####....", "....#####....", "....#####....",
        "....#####....", "....#####....", ".###########.", "..#########..", "...#######...",
        "....#####....", ".....###.....", "......#......", ".............");
const std::string small_up =
    art("....#....", "...###...", "..#####..", ".#######.", "...###...", "...###...", "...###...",
        "...###...", "...###...", "...###...", "...###...", ".........");
const std::string small_down =
    art("...###...", "...###...", "...###...", "...###...", "...###...", "...###...", "...###...",
        ".#######.", "..#####..", "...###...", "....#....", ".........");

TEST_F(ScreenMain, ArrowsPointWithTheCurrentAndOnlyTheChargeArrowBlinks) {
    struct {
        uint8_t mode, page;
        int32_t current;
        uint8_t blink;
        const std::string* picture;
        bool large;
    } cases[] = {
        {0, 0, -39, 1, &large_up, true},  {0, 0, -39, 0, &large_up, true},
        {0, 0, 0, 1, &large_down, true},  {0, 0, 250, 1, &large_down, true},
        {2, 1, -39, 1, &small_up, false}, {2, 1, -39, 0, &small_up, false},
        {1, 1, 0, 1, &small_down, false}, {2, 1, 250, 1, &small_down, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << int(c.mode) << " current " << c.current
                                          << " blink " << int(c.blink));
        display_mode = c.mode;
        amps_page = c.page;
        current_da = c.current;
        blink_phase = c.blink;
        press(0);
        EXPECT_EQ(c.large ? large_arrow_area() : small_arrow_area(), *c.picture);
    }

    // The charge arrow is absent on the dark half of the blink.
    current_da = 0;
    blink_phase = 0;
    display_mode = 0;
    press(0);
    EXPECT_EQ(lcd_count_set(8, 3, 20, 21), 0) << large_arrow_area();
    display_mode = 2;
    amps_page = 1;
    press(0);
    EXPECT_EQ(lcd_count_set(9, 0, 17, 11), 0) << small_arrow_area();
}

TEST_F(ScreenMain, LayoutFollowsDisplayModeAndPage) {
    // Only layout C has the bar's frame (row 55) and only layout A the large arrow.
    current_da = -39;
    struct {
        uint8_t mode, page;
        bool bar, large_arrow;
    } cases[] = {
        {0, 0, false, true}, {0, 1, false, true},  {1, 0, false, false},
        {1, 1, true, false}, {2, 0, false, false}, {2, 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "mode " << int(c.mode) << " page " << int(c.page));
        display_mode = c.mode;
        amps_page = c.page;
        press(0);
        EXPECT_EQ(lcd_count_set(0, 55, 113, 55) == 114, c.bar);
        EXPECT_EQ(large_arrow_area() == large_up, c.large_arrow);
    }
}

TEST_F(ScreenMain, KeysOpenTheMenuPeaksAndContrastAndTurnThePage) {
    struct {
        uint8_t mode, page, key;
        screen_routine screen;
        uint8_t expected_page;
    } cases[] = {
        {0, 0, KEY_SELECT, screen_menu, 0},
        {0, 0, KEY_CW, screen_main, 0},
        {0, 0, KEY_CCW, screen_main, 0},
        {1, 0, KEY_CW, screen_main, 1},
        {1, 1, KEY_CCW, screen_main, 0},
        {2, 1, KEY_CW, screen_main, 0},
        {2, 0, KEY_CCW, screen_main, 1},
        {1, 0, KEY_LEFT, screen_max_values, 0},
        {2, 1, KEY_RIGHT, screen_contrast, 1},
        {1, 0, 0, screen_main, 0},
        {1, 0, 6, screen_main, 0},
        {2, 1, 255, screen_main, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "mode " << int(c.mode) << " page " << int(c.page) << " key " << int(c.key));
        display_mode = c.mode;
        amps_page = c.page;
        active_screen = screen_main;
        return_screen = screen_calibrate;
        menu_cursor = 3;
        edit_mode = 1;
        press(c.key);
        EXPECT_EQ(active_screen, c.screen);
        EXPECT_EQ(amps_page, c.expected_page);
        EXPECT_EQ(pending_key, 0) << "the key slot is always emptied";
        if (c.key == KEY_SELECT) {
            EXPECT_EQ(menu_cursor, 0);
            EXPECT_EQ(edit_mode, 0);
        } else if (c.key == KEY_RIGHT) {
            EXPECT_EQ(menu_cursor, 0);
            EXPECT_EQ(return_screen, screen_main) << "the contrast screen comes back here";
        } else {
            EXPECT_EQ(menu_cursor, 3);
            EXPECT_EQ(return_screen, screen_calibrate);
        }
    }
}

TEST_F(ScreenMain, FirstKeyAfterAnAlarmOnlyAcknowledgesIt) {
    for (uint8_t key : {KEY_SELECT, KEY_CW, KEY_CCW, KEY_LEFT, KEY_RIGHT, uint8_t{9}}) {
        SCOPED_TRACE(::testing::Message() << "key " << int(key));
        display_mode = 1;
        amps_page = 0;
        active_screen = screen_main;
        volt_alarm = 1;
        alarm_ack = 0;
        menu_cursor = 2;
        press(key);
        EXPECT_EQ(alarm_ack, 1);
        EXPECT_EQ(active_screen, screen_main);
        EXPECT_EQ(amps_page, 0);
        EXPECT_EQ(menu_cursor, 2);
        EXPECT_EQ(pending_key, 0);
    }

    // Acknowledged, the keys work again while the alarm lasts.
    active_screen = screen_main;
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_menu);
    EXPECT_EQ(alarm_ack, 1);
}

TEST_F(ScreenMain, OnlyTheMainScreenAcknowledges) {
    volt_alarm = 1;
    alarm_ack = 0;
    active_screen = screen_max_values;
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_main) << "the peak screen's keys work as usual";
    EXPECT_EQ(alarm_ack, 0);

    active_screen = screen_menu;
    menu_cursor = 0;
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 1) << "the menu's keys work as usual";
    EXPECT_EQ(alarm_ack, 0);
    press(KEY_CCW);
    press(KEY_SELECT);
    ASSERT_EQ(active_screen, screen_main);
    EXPECT_EQ(alarm_ack, 0);

    press(KEY_LEFT);
    EXPECT_EQ(alarm_ack, 1);
    EXPECT_EQ(active_screen, screen_main) << "back on the main screen a key acknowledges";
}

} // namespace
