// Drives the screens as the main loop does: each pass clears the frame buffer and runs the
// active screen once, which draws and then consumes the key in the slot.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framebuffer.h"
#include "hook_calls.h"
#include "keys.h"
#include "lcd_dump.h"
#include "lcd_reader.h"
#include "power_on.h"
#include "state.h"

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

inline ScreenText plain(const std::string& text, uint8_t x = 0) {
    return {text, x, false};
}
inline ScreenText inverted(const std::string& text, uint8_t x = 0) {
    return {text, x, true};
}

// Succeeds when the band of cells whose top row is y holds exactly these texts, left to right;
// the failure message shows what it holds instead and the band's pixels.
inline testing::AssertionResult band_shows(uint8_t y, const std::vector<ScreenText>& expected,
                                           TextFace face = TextFace::normal) {
    const std::vector<ScreenText> found = find_texts(y, face);
    if (found == expected) {
        return testing::AssertionSuccess();
    }
    testing::AssertionResult result = testing::AssertionFailure();
    result << "band at y = " << int(y) << " should hold";
    for (const ScreenText& t : expected) {
        result << " [" << t << "]";
    }
    result << (expected.empty() ? " nothing" : "") << " but holds";
    for (const ScreenText& t : found) {
        result << " [" << t << "]";
    }
    result << (found.empty() ? " nothing" : "") << "\n"
           << lcd_dump_rows(y,
                            static_cast<uint8_t>(y + (face == TextFace::double_height ? 15 : 7)));
    return result;
}

// The same for list row r (the band at y = 8 + 8 r).
inline testing::AssertionResult row_shows(uint8_t row, const std::vector<ScreenText>& expected) {
    return band_shows(static_cast<uint8_t>(8 + 8 * row), expected);
}

// Factory settings, the given screen active on row 0, not editing, KeyFast unticked.
class ScreenTest : public ::testing::Test {
protected:
    void open(screen_routine screen) {
        power_on_reset();
        active_screen = screen;
        return_screen = nullptr;
        menu_cursor = 0;
        edit_mode = 0;
        key_step = 1;
        reset_hook_calls();
    }
};

} // namespace screen_test
