// Drives the screens as the main loop does: each pass clears the frame buffer and runs the
// active screen once, which draws and then consumes the key in the slot.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "hook_calls.h"
#include "support/lcd_reader.h"

using namespace txm9;

namespace screen_test {

inline void run_pass() {
    lcd_clear();
    active_screen();
}

// One key handled by the active screen on one pass.
inline void press(uint8_t key) {
    pending_key = key;
    run_pass();
}

inline void press_times(uint8_t key, int times) {
    for (int i = 0; i < times; ++i) {
        press(key);
    }
}

// The band of list row r (y = 8 + 8 r) holds exactly these texts.
inline testing::AssertionResult row_shows(uint8_t row, const std::vector<screen_text>& expected) {
    return band_shows(static_cast<uint8_t>(8 + 8 * row), expected);
}

// Presses each of `keys`, codes the active list screen has no use for, on every row up to
// `last_row`, editing and not: the slot is emptied and cursor, editing and screen stay;
// `settings_unchanged` then checks the screen's own settings.
template <typename Check>
void expect_keys_discarded_on_every_row(uint8_t last_row, std::initializer_list<uint8_t> keys,
                                        Check settings_unchanged) {
    const screen_routine screen = active_screen;
    for (uint8_t editing : {0, 1}) {
        for (uint8_t row = 0; row <= last_row; ++row) {
            for (uint8_t key : keys) {
                SCOPED_TRACE(::testing::Message() << "row " << int(row) << " editing "
                                                  << int(editing) << " key " << int(key));
                menu_cursor = row;
                edit_mode = editing;
                press(key);
                EXPECT_EQ(pending_key, 0) << "the slot is emptied";
                EXPECT_EQ(menu_cursor, row);
                EXPECT_EQ(edit_mode, editing);
                EXPECT_EQ(active_screen, screen);
                settings_unchanged();
            }
        }
    }
}

// One pass of the main display in the given display mode and page, without a key.
inline void show_main(uint8_t mode, uint8_t page) {
    display_mode = mode;
    amps_page = page;
    active_screen = screen_main;
    press(0);
}

// Factory settings as after the splash, the given screen active on row 0, not editing,
// KeyFast unticked, no hook calls counted yet.
class ScreenTest : public ::testing::Test {
protected:
    void open(screen_routine screen) {
        power_on_reset();
        power_on_finish();
        active_screen = screen;
        return_screen = nullptr;
        menu_cursor = 0;
        edit_mode = 0;
        key_step = 1;
        reset_hook_calls();
        lcd_clear();
    }
};

} // namespace screen_test
