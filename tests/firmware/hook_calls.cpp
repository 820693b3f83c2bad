#include "hook_calls.h"

#include "hooks.h"

namespace screen_test {

hook_call_log hook_calls;

void reset_hook_calls() {
    hook_calls = hook_call_log{};
}

} // namespace screen_test

using screen_test::hook_calls;

// The linker sends every call of the two hooks here and gives the real hooks the __real_
// names (the names are the Itanium-mangled apply_contrast() and commit_settings()).
extern "C" {
void __real__Z14apply_contrastv();
void __real__Z15commit_settingsv();

void __wrap__Z14apply_contrastv() {
    ++hook_calls.apply_contrast;
    __real__Z14apply_contrastv();
}

void __wrap__Z15commit_settingsv() {
    ++hook_calls.commit_settings;
    hook_calls.screen_at_commit = active_screen;
    hook_calls.cursor_at_commit = menu_cursor;
    __real__Z15commit_settingsv();
}
}
