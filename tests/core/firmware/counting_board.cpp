// The firmware tests' board: the simulator's hooks, with the settings hooks counted.
#include "firmware/board/hooks.h"
#include "firmware/monitor/state.h"
#include "hook_calls.h"

namespace screen_test {

hook_call_log hook_calls;

void reset_hook_calls() {
    hook_calls = hook_call_log{};
}

} // namespace screen_test

using screen_test::hook_calls;

void apply_contrast() {
    ++hook_calls.apply_contrast;
}

void commit_settings() {
    ++hook_calls.commit_settings;
    hook_calls.screen_at_commit = active_screen;
    hook_calls.cursor_at_commit = menu_cursor;
}

void peaks_reset_hook() {}
void alarm_output_on() {}
void alarm_output_off() {}
void backlight_output_on() {
    backlight_on = 1;
}
void backlight_output_off() {
    backlight_on = 0;
}
