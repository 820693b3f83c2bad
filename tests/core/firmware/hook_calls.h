// Counts the calls of the settings hooks that the screens make. The firmware tests link a
// board of their own (counting_board.cpp) in place of the simulator's: it does what the
// simulator's board does and counts, recording the screen state at the moment of the call so
// that a test can tell whether a hook came before or after a screen change.
#pragma once

#include <cstdint>

#include "firmware/monitor/state.h"

namespace screen_test {

struct hook_call_log {
    int apply_contrast = 0;
    int commit_settings = 0;
    screen_routine screen_at_commit = nullptr; // active_screen when commit_settings ran
    uint8_t cursor_at_commit = 0;              // menu_cursor when commit_settings ran
};

extern hook_call_log hook_calls;

// Forgets every call counted so far.
void reset_hook_calls();

} // namespace screen_test
