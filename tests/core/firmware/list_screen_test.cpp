// The key scheme and the wrapping steps shared by the setup lists.
#include <gtest/gtest.h>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/list_screen.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

namespace {

TEST(ListScreen, CursorStopsAtRowZeroAndAtTheLastPresentRow) {
    struct {
        uint8_t start, key, last, expected;
    } cases[] = {
        {0, KEY_CCW, 5, 0}, {0, KEY_LEFT, 5, 0},   {0, KEY_CW, 5, 1},  {0, KEY_RIGHT, 5, 1},
        {5, KEY_CW, 5, 5},  {5, KEY_RIGHT, 5, 5},  {5, KEY_CCW, 5, 4}, {5, KEY_LEFT, 5, 4},
        {3, KEY_CW, 3, 3},  {2, KEY_SELECT, 5, 2}, {2, 0, 5, 2},       {2, 200, 5, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "start " << int(c.start) << " key " << int(c.key)
                                          << " last " << int(c.last));
        menu_cursor = c.start;
        list_move_cursor(c.key, c.last);
        EXPECT_EQ(menu_cursor, c.expected);
    }
}

TEST(ListScreen, EditingPairsTheKnobWithTheUpAndDownKeys) {
    EXPECT_EQ(edit_direction(KEY_CW), 1);
    EXPECT_EQ(edit_direction(KEY_LEFT), 1);
    EXPECT_EQ(edit_direction(KEY_CCW), -1);
    EXPECT_EQ(edit_direction(KEY_RIGHT), -1);
    EXPECT_EQ(edit_direction(KEY_SELECT), 0);
    EXPECT_EQ(edit_direction(6), 0);
}

TEST(ListScreen, StepsWrapToTheOppositeEnd) {
    struct {
        const char* name;
        uint32_t value;
        int8_t dir;
        uint32_t step, low, high, expected;
    } cases[] = {
        {"shunt 500 forward", 500, 1, 5, 5, 500, 5},
        {"shunt 5 back", 5, -1, 5, 5, 500, 500},
        {"shunt 495 forward", 495, 1, 5, 5, 500, 500},
        {"shunt 10 back", 10, -1, 5, 5, 500, 5},
        {"threshold 295 by 10", 295, 1, 10, 80, 300, 80},
        {"threshold 85 back by 10", 85, -1, 10, 80, 300, 300},
        {"threshold 100 by 10", 100, 1, 10, 80, 300, 110},
        {"threshold 80 back by 1", 80, -1, 1, 80, 300, 300},
        {"threshold 300 by 1", 300, 1, 1, 80, 300, 80},
        {"mode 2 forward", 2, 1, 1, 0, 2, 0},
        {"mode 0 back", 0, -1, 1, 0, 2, 2},
        {"time index 6 forward", 6, 1, 1, 0, 6, 0},
        {"factor 150 forward", 150, 1, 1, 50, 150, 50},
        {"factor 50 back", 50, -1, 1, 50, 150, 150},
        {"no direction", 77, 0, 1, 50, 150, 77},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(step_wrapping(c.value, c.dir, c.step, c.low, c.high), c.expected);
    }
}

TEST(ListScreen, ToggleTurnsAnyNonZeroValueOff) {
    EXPECT_EQ(toggled(0), 1);
    EXPECT_EQ(toggled(1), 0);
    EXPECT_EQ(toggled(7), 0);
}

TEST(ListScreen, LeavingOpensTheMenuOnTheListsOwnItem) {
    edit_mode = 1;
    active_screen = screen_battery_setup;
    leave_to_menu(2);
    EXPECT_EQ(menu_cursor, 2);
    EXPECT_EQ(edit_mode, 0);
    EXPECT_EQ(active_screen, screen_menu);
}

} // namespace
