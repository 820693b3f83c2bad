// Drives the screens as the main loop does: each pass clears the frame buffer and runs the
// active screen once, which draws and then consumes the key in the slot.
#pragma once

#include <cstdint>

#include <gtest/gtest.h>

#include "framebuffer.h"
#include "hook_calls.h"
#include "keys.h"
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
