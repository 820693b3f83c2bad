// Display setup list: which rows exist, how far the cursor goes, the edits and their wraps,
// and where the list leaves to.
#include <gtest/gtest.h>

#include "firmware/monitor/screens.h"
#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class DisplaySetup : public ScreenTest {
protected:
    void SetUp() override { open(screen_display_setup); }

    // Puts the cursor on `row` and starts editing it, through the keys.
    void edit_row(uint8_t row) {
        press_times(KEY_CW, row);
        ASSERT_EQ(menu_cursor, row) << "row " << int(row) << " is not reachable";
        press(KEY_SELECT);
        ASSERT_EQ(edit_mode, 1);
    }
};

TEST_F(DisplaySetup, LastRowFollowsModeAndCycling) {
    struct {
        uint8_t mode, cycling, last;
    } cases[] = {
        {0, 0, 4}, {0, 1, 4}, {1, 0, 5}, {2, 0, 5}, {1, 1, 6}, {2, 1, 6}, {2, 9, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "display_mode " << int(c.mode) << " auto_cycle " << int(c.cycling));
        display_mode = c.mode;
        auto_cycle = c.cycling;
        menu_cursor = 0;
        press_times(KEY_CW, 10);
        EXPECT_EQ(menu_cursor, c.last) << "KEY_CW stops at the last present row";
        press(KEY_RIGHT);
        EXPECT_EQ(menu_cursor, c.last) << "KEY_RIGHT stops there too";
        press_times(KEY_CCW, 3);
        EXPECT_EQ(menu_cursor, c.last - 3);
        press_times(KEY_LEFT, 10);
        EXPECT_EQ(menu_cursor, 0) << "the cursor stops at row 0 and never wraps";
        EXPECT_EQ(edit_mode, 0);
    }
}

TEST_F(DisplaySetup, CyclingRowsAppearAsTheModeAndCyclingAreChanged) {
    edit_row(4);
    press(KEY_SELECT);
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 4) << "with VOLT&AMP row 4 is the last";

    press(KEY_SELECT);
    press(KEY_CW); // VOLTS
    press(KEY_SELECT);
    ASSERT_EQ(display_mode, 1);
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 5) << "with VOLTS the MODE row appears";
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 5) << "with manual paging there is no time row";

    press(KEY_SELECT);
    press(KEY_LEFT); // AUTO
    press(KEY_SELECT);
    ASSERT_EQ(auto_cycle, 1);
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 6) << "with automatic paging the DISP TIME row appears";
}

TEST_F(DisplaySetup, BackToVoltsAndAmpsHidesTheCyclingRowsWithTheCursorStaying) {
    display_mode = 1;
    auto_cycle = 1;
    edit_row(4);
    press(KEY_CCW);
    ASSERT_EQ(display_mode, 0);
    EXPECT_EQ(menu_cursor, 4);
    press(KEY_SELECT);
    press(KEY_RIGHT);
    EXPECT_EQ(menu_cursor, 4) << "rows 5 and 6 are gone";
}

TEST_F(DisplaySetup, SwitchingPagingOffOnRowFiveKeepsTheCursorThere) {
    display_mode = 2;
    auto_cycle = 1;
    edit_row(5);
    press(KEY_CW);
    ASSERT_EQ(auto_cycle, 0);
    press(KEY_SELECT);
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 5) << "row 6 is gone";
}

TEST_F(DisplaySetup, DisplayModeWrapsAndForcesThePage) {
    struct {
        const char* name;
        uint8_t key, from, to, page;
    } cases[] = {
        {"VOLT&AMP forward", KEY_CW, 0, 1, 0},
        {"VOLTS forward", KEY_LEFT, 1, 2, 1},
        {"AMPS forward wraps", KEY_CW, 2, 0, 0},
        {"VOLT&AMP back wraps", KEY_CCW, 0, 2, 1},
        {"AMPS back", KEY_RIGHT, 2, 1, 0},
        {"VOLTS back", KEY_CCW, 1, 0, 0},
        {"AMPS forward by the up key", KEY_LEFT, 2, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        display_mode = c.from;
        amps_page = c.page == 1 ? 0 : 1; // the opposite page, so that the change shows
        menu_cursor = 4;
        edit_mode = 1;
        press(c.key);
        EXPECT_EQ(display_mode, c.to);
        EXPECT_EQ(amps_page, c.page);
        EXPECT_EQ(menu_cursor, 4) << "the cursor does not move while editing";
        EXPECT_EQ(edit_mode, 1);
    }
}

TEST_F(DisplaySetup, DisplayTimeWrapsOverTheSevenEntries) {
    struct {
        const char* name;
        uint8_t key, from, to;
    } cases[] = {
        {"60 s forward gives 1 s", KEY_CW, 6, 0}, {"1 s back gives 60 s", KEY_CCW, 0, 6},
        {"up key raises", KEY_LEFT, 3, 4},        {"down key lowers", KEY_RIGHT, 3, 2},
        {"up key wraps", KEY_LEFT, 6, 0},         {"down key wraps", KEY_RIGHT, 0, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        display_mode = 1;
        auto_cycle = 1;
        cycle_time_index = c.from;
        menu_cursor = 6;
        edit_mode = 1;
        press(c.key);
        EXPECT_EQ(cycle_time_index, c.to);
        EXPECT_EQ(menu_cursor, 6);
    }
}

TEST_F(DisplaySetup, SwitchesToggleWithEveryStepKey) {
    struct {
        const char* name;
        uint8_t row;
        uint8_t* value;
    } rows[] = {
        {"backlight", 2, &backlight_on},
        {"language", 3, &language},
        {"paging", 5, &auto_cycle},
    };
    const uint8_t keys[] = {KEY_CW, KEY_CCW, KEY_LEFT, KEY_RIGHT};
    const struct { uint8_t from, to; } steps[] = {{0, 1}, {1, 0}, {7, 0}};
    for (const auto& r : rows) {
        for (uint8_t key : keys) {
            for (const auto& s : steps) {
                SCOPED_TRACE(::testing::Message()
                             << r.name << " key " << int(key) << " from " << int(s.from));
                display_mode = 1; // row 5 present
                auto_cycle = 0;
                language = 0;
                *r.value = s.from;
                menu_cursor = r.row;
                edit_mode = 1;
                press(key);
                EXPECT_EQ(*r.value, s.to);
            }
        }
    }
}

TEST_F(DisplaySetup, UpAndDownKeysMoveWhileNavigatingAndStepWhileEditing) {
    display_mode = 1;
    auto_cycle = 1;
    cycle_time_index = 3;
    menu_cursor = 6;
    press(KEY_LEFT);
    EXPECT_EQ(menu_cursor, 5) << "not editing, the up key moves up";
    press(KEY_RIGHT);
    EXPECT_EQ(menu_cursor, 6) << "not editing, the down key moves down";
    press(KEY_SELECT);
    press(KEY_LEFT);
    EXPECT_EQ(cycle_time_index, 4) << "editing, the up key raises the time";
    press(KEY_RIGHT);
    press(KEY_RIGHT);
    EXPECT_EQ(cycle_time_index, 2) << "editing, the down key lowers it";
    EXPECT_EQ(menu_cursor, 6);
    press(KEY_SELECT);
    EXPECT_EQ(edit_mode, 0) << "KEY_SELECT ends the edit; the value shown is in force";
    EXPECT_EQ(cycle_time_index, 2);
}

TEST_F(DisplaySetup, RowZeroLeavesToTheDisplayItemOfTheMenu) {
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_menu);
    EXPECT_EQ(menu_cursor, 1);
    EXPECT_EQ(edit_mode, 0);
    EXPECT_EQ(hook_calls.commit_settings, 0);
}

TEST_F(DisplaySetup, RowOneOpensTheContrastScreenWhichComesBackToIt) {
    press(KEY_CW);
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_contrast);
    EXPECT_EQ(return_screen, screen_display_setup);
    EXPECT_EQ(menu_cursor, 0);
    EXPECT_EQ(edit_mode, 0);

    press(KEY_CW);
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_display_setup);
    EXPECT_EQ(menu_cursor, 1) << "back on ADJ CONTRAST";
}

TEST_F(DisplaySetup, UnknownKeysAreDiscarded) {
    display_mode = 1;
    auto_cycle = 1;
    expect_keys_discarded_on_every_row(6, {6, 9, 255}, [] {
        EXPECT_EQ(backlight_on, 1);
        EXPECT_EQ(language, 0);
        EXPECT_EQ(display_mode, 1);
        EXPECT_EQ(auto_cycle, 1);
        EXPECT_EQ(cycle_time_index, 1);
    });
}

// --- What the list shows ---

TEST_F(DisplaySetup, FactorySettingsInEnglish) {
    run_pass();
    EXPECT_TRUE(band_shows(0, {plain("DISP SETUP", 17)}));
    EXPECT_TRUE(row_shows(0, {inverted("*** DONE ***", 9)}));
    EXPECT_TRUE(row_shows(1, {plain("ADJ CONTRAST")}));
    EXPECT_TRUE(row_shows(2, {plain("BACKLIGHT: ON")}));
    EXPECT_TRUE(row_shows(3, {plain("LANG: ENGLISH")}));
    EXPECT_TRUE(row_shows(4, {plain("DISP: VOLT&AMP")}));
    EXPECT_TRUE(row_shows(5, {})) << "no cycling rows for the volts-and-amps page";
    EXPECT_TRUE(row_shows(6, {}));
}

TEST_F(DisplaySetup, FrenchRows) {
    language = 1;
    backlight_on = 0;
    display_mode = 1;
    menu_cursor = 1;
    run_pass();
    EXPECT_TRUE(band_shows(0, {plain("AFFI CONFIG", 13)}));
    EXPECT_TRUE(row_shows(0, {plain("*** FINI ***", 9)}));
    EXPECT_TRUE(row_shows(1, {inverted("REG CONTRAST")}));
    EXPECT_TRUE(row_shows(2, {plain("LUMIERE: NON")}));
    EXPECT_TRUE(row_shows(3, {plain("LANG: FRANCAIS")}));
    EXPECT_TRUE(row_shows(4, {plain("AFFI: VOLTS")}));
    EXPECT_TRUE(row_shows(5, {plain("MODE: MANUEL")}));
    EXPECT_TRUE(row_shows(6, {}));

    backlight_on = 1;
    auto_cycle = 1;
    run_pass();
    EXPECT_TRUE(row_shows(2, {plain("LUMIERE: OUI")}));
    EXPECT_TRUE(row_shows(5, {plain("MODE: AUTO")}));
    EXPECT_TRUE(row_shows(6, {plain("TEMPS AFF: 3S")}));
}

TEST_F(DisplaySetup, ValuesOfTheModeAndTimeRows) {
    const struct {
        uint8_t mode, cycling, index;
        const char *row4, *row5, *row6;
    } cases[] = {
        {1, 0, 1, "DISP: VOLTS", "MODE: MANUAL", nullptr},
        {2, 1, 0, "DISP: AMPS", "MODE: AUTO", "DISP TIME: 1S"},
        {2, 1, 3, "DISP: AMPS", "MODE: AUTO", "DISP TIME: 10S"},
        {1, 1, 6, "DISP: VOLTS", "MODE: AUTO", "DISP TIME: 60S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "display_mode " << int(c.mode) << " auto_cycle "
                                          << int(c.cycling) << " index " << int(c.index));
        display_mode = c.mode;
        auto_cycle = c.cycling;
        cycle_time_index = c.index;
        run_pass();
        EXPECT_TRUE(row_shows(4, {plain(c.row4)}));
        EXPECT_TRUE(row_shows(5, {plain(c.row5)}));
        EXPECT_TRUE(row_shows(6, c.row6 ? std::vector<screen_text>{plain(c.row6)}
                                        : std::vector<screen_text>{}));
    }
}

TEST_F(DisplaySetup, SelectedRowInvertsLabelAndValueEditedRowOnlyTheValue) {
    language = 1;
    menu_cursor = 3;
    run_pass();
    EXPECT_TRUE(row_shows(3, {inverted("LANG: FRANCAIS")}));
    EXPECT_TRUE(row_shows(0, {plain("*** FINI ***", 9)}));
    press(KEY_SELECT);
    run_pass();
    EXPECT_TRUE(row_shows(3, {plain("LANG:"), inverted("FRANCAIS", 48)}));
    EXPECT_TRUE(row_shows(2, {plain("LUMIERE: OUI")}));
}

TEST_F(DisplaySetup, LanguageChangeRedrawsTheScreenOnTheNextPass) {
    edit_row(3);
    press(KEY_CW);
    ASSERT_EQ(language, 1);
    EXPECT_TRUE(band_shows(0, {plain("DISP SETUP", 17)})) << "drawn before the key was handled";
    run_pass();
    EXPECT_TRUE(band_shows(0, {plain("AFFI CONFIG", 13)}));
    EXPECT_TRUE(row_shows(2, {plain("LUMIERE: OUI")}));
    EXPECT_TRUE(row_shows(3, {plain("LANG:"), inverted("FRANCAIS", 48)}));
}

TEST_F(DisplaySetup, LongestRowsFitTheWidth) {
    const struct {
        uint8_t lang, mode, cycling, index, row;
        const char* text;
    } cases[] = {
        {1, 0, 0, 1, 3, "LANG: FRANCAIS"},
        {0, 0, 0, 1, 4, "DISP: VOLT&AMP"},
        {1, 1, 1, 6, 6, "TEMPS AFF: 60S"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        language = c.lang;
        display_mode = c.mode;
        auto_cycle = c.cycling;
        cycle_time_index = c.index;
        run_pass();
        EXPECT_TRUE(row_shows(c.row, {plain(c.text)})) << "14 characters end at column 111";
    }
}

} // namespace
