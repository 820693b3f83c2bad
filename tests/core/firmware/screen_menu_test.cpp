// The main menu: its scroll marker, cursor limits, the hidden calibration items and the
// screens its items open.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "firmware/lcd/icons.h"
#include "screen_pass.h"
#include "support/lcd_pixels.h"

using namespace txm9;

namespace {

using namespace screen_test;

class ScreenMenu : public ScreenTest {
protected:
    void SetUp() override { open(screen_menu); }
};

struct block {
    uint8_t count, index;
    int top, bottom; // rows as handed to the fill; 64 and beyond are off the display
};

// The block in the marker's columns, checked column by column against the expected rows.
void expect_marker(const block& b) {
    const int last_visible = b.bottom < 63 ? b.bottom : 63;
    for (int x = 109; x <= 113; ++x) {
        SCOPED_TRACE(::testing::Message() << "column " << x);
        const InkBox rows = lcd_ink_box(x, 8, x, 63);
        if (x == 111) {
            EXPECT_EQ(rows.top, 8) << "the rule starts under the title";
            EXPECT_EQ(rows.bottom, 63) << "the rule reaches the bottom row";
            continue;
        }
        if (b.top > 63) {
            EXPECT_TRUE(rows.empty) << "a block below the display shows nothing";
            continue;
        }
        EXPECT_EQ(rows.top, b.top);
        EXPECT_EQ(rows.bottom, last_visible);
        EXPECT_EQ(lcd_count_set(x, 8, x, 63), last_visible - b.top + 1) << "one solid block";
    }
    EXPECT_EQ(lcd_count_set(108, 8, 108, 63), 0) << "nothing left of column 109";
}

const block marker_table[] = {
    {3, 0, 8, 26},  {3, 1, 26, 45}, {3, 2, 45, 64}, {5, 0, 8, 19},  {5, 1, 19, 30},
    {5, 2, 30, 41}, {5, 3, 41, 52}, {5, 4, 52, 64}, {3, 3, 64, 82}, {3, 4, 82, 101},
};

TEST_F(ScreenMenu, ItemCountFollowsTheCalibrationUnlock) {
    for (const block& b : marker_table) {
        SCOPED_TRACE(::testing::Message() << "item " << int(b.index) << " of " << int(b.count));
        calibrate_enabled = b.count == 5 ? 1 : 0;
        menu_cursor = b.index;
        press(0);
        expect_marker(b);
        EXPECT_EQ(menu_cursor, b.index) << "drawing alone moves nothing";
    }
}

TEST_F(ScreenMenu, CursorStopsAtBothEndsWithoutWrapping) {
    struct {
        uint8_t calibrate, start, key, expected;
    } cases[] = {
        {0, 2, KEY_CW, 2},  {0, 2, KEY_RIGHT, 2}, {0, 2, KEY_CCW, 1}, {0, 2, KEY_LEFT, 1},
        {0, 0, KEY_CCW, 0}, {0, 0, KEY_LEFT, 0},  {0, 0, KEY_CW, 1},  {0, 1, KEY_RIGHT, 2},
        {1, 2, KEY_CW, 3},  {1, 3, KEY_RIGHT, 4}, {1, 4, KEY_CW, 4},  {1, 4, KEY_RIGHT, 4},
        {1, 4, KEY_CCW, 3}, {1, 0, KEY_LEFT, 0},  {1, 2, 0, 2},       {1, 2, 6, 2},
        {1, 2, 200, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "calibrate " << int(c.calibrate) << " item "
                                          << int(c.start) << " key " << int(c.key));
        calibrate_enabled = c.calibrate;
        menu_cursor = c.start;
        active_screen = screen_menu;
        press(c.key);
        EXPECT_EQ(menu_cursor, c.expected);
        EXPECT_EQ(active_screen, screen_menu);
        EXPECT_EQ(pending_key, 0) << "the key slot is always emptied";
    }
}

TEST_F(ScreenMenu, SelectOpensTheItemsScreenOnItsFirstRow) {
    const screen_routine opened[] = {screen_main, screen_display_setup, screen_battery_setup,
                                     screen_adc_values, screen_calibrate};
    for (uint8_t item = 0; item < 5; ++item) {
        SCOPED_TRACE(::testing::Message() << "item " << int(item));
        calibrate_enabled = 1;
        active_screen = screen_menu;
        menu_cursor = item;
        edit_mode = 1;
        press(KEY_SELECT);
        EXPECT_EQ(active_screen, opened[item]);
        EXPECT_EQ(menu_cursor, 0);
        EXPECT_EQ(edit_mode, 0);
        EXPECT_EQ(pending_key, 0);
    }
}

// Calibration locked again while the menu shows item 3 or 4: the item stays, can still be
// opened, shows no block, and only the backward keys move.
TEST_F(ScreenMenu, CalibrationItemsLockedWhileShownStayReachable) {
    calibrate_enabled = 1;
    menu_cursor = 2;
    press(KEY_CW);
    press(KEY_CW);
    ASSERT_EQ(menu_cursor, 4);

    calibrate_enabled = 0;
    press(KEY_CW);
    EXPECT_EQ(menu_cursor, 4) << "forward does nothing past the last offered item";
    press(KEY_RIGHT);
    EXPECT_EQ(menu_cursor, 4);
    expect_marker({3, 4, 82, 101});
    press(KEY_CCW);
    EXPECT_EQ(menu_cursor, 3) << "backward steps back one item";
    expect_marker({3, 4, 82, 101}); // drawn before the key moved the cursor
    press(0);
    expect_marker({3, 3, 64, 82});
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_adc_values);

    active_screen = screen_menu;
    menu_cursor = 4;
    press(KEY_SELECT);
    EXPECT_EQ(active_screen, screen_calibrate);

    active_screen = screen_menu;
    menu_cursor = 3;
    press(KEY_LEFT);
    press(KEY_LEFT);
    EXPECT_EQ(menu_cursor, 1);
}

TEST_F(ScreenMenu, EachItemShowsItsPicture) {
    const uint8_t icon_of_item[] = {1, 7, 0, 3, 2};
    calibrate_enabled = 1;
    for (uint8_t item = 0; item < 5; ++item) {
        SCOPED_TRACE(::testing::Message() << "item " << int(item));
        menu_cursor = item;
        press(0);
        const PixelSet alone = lcd_drawn_alone([&] { lcd_icon(icon_of_item[item]); });
        EXPECT_TRUE(lcd_region_shows_exactly(alone, 0, 16, 36, 47));
    }
}

// The name read back in double height: each line centred on column 73.
std::vector<screen_text> name_line(uint8_t y) {
    return find_texts(y, text_face::double_height);
}

std::vector<screen_text> centred(const char* text) {
    if (text == nullptr) {
        return {};
    }
    return {{text, static_cast<uint8_t>(73 - 4 * std::strlen(text)), false}};
}

TEST_F(ScreenMenu, ItemNamesInBothLanguages) {
    struct {
        uint8_t lang, item;
        const char *upper, *lower, *single; // at y 18, 36 and 26
    } cases[] = {
        {0, 0, "EXIT", "MENU", nullptr},       {1, 0, nullptr, nullptr, "SORTIE"},
        {0, 1, "DISPLAY", "SETUP", nullptr},   {1, 1, "CONFIG", "AFFICH", nullptr},
        {0, 2, "BATTERY", "SETUP", nullptr},   {1, 2, "CONFIG", "BATTERIE", nullptr},
        {0, 3, "ADC", "VALUES", nullptr},      {1, 3, "VALEUR", "A/D", nullptr},
        {0, 4, nullptr, nullptr, "CALIBRATE"}, {1, 4, nullptr, nullptr, "CALIB"},
    };
    calibrate_enabled = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "language " << int(c.lang) << " item " << int(c.item));
        language = c.lang;
        menu_cursor = c.item;
        press(0);
        if (c.single != nullptr) {
            EXPECT_EQ(name_line(26), centred(c.single));
            EXPECT_EQ(name_line(18), centred(nullptr)) << "no upper line";
            EXPECT_EQ(name_line(36), centred(nullptr)) << "no lower line";
        } else {
            EXPECT_EQ(name_line(18), centred(c.upper));
            EXPECT_EQ(name_line(36), centred(c.lower));
            EXPECT_EQ(name_line(26), centred(nullptr)) << "nothing between the two lines";
        }
        EXPECT_EQ(read_text(21, 0, 9), c.lang == 0 ? "MAIN MENU" : "MENU PRIN");
    }
}

TEST_F(ScreenMenu, CursorBeyondTheItemsDrawsNoItem) {
    calibrate_enabled = 1;
    menu_cursor = 5;
    press(0);
    EXPECT_EQ(lcd_count_set(0, 8, 108, 63), 0) << lcd_region_art(0, 8, 108, 63);
}

} // namespace
