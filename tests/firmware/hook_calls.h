// Counts the calls of the settings hooks that the screens make. The test program is linked
// with the hooks wrapped (-Wl,--wrap), so every call still reaches the real hook; the
// counter only watches, and records the screen state at the moment of the call so that a
// test can tell whether a hook came before or after a screen change.
#pragma once

#include <cstdint>

#include "state.h"

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
