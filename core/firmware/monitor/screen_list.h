// The nine screens by name, in the order the menu reaches them, from the one list in
// screens.def. Everything that names a screen (the soak's statistics, the walk, the scenario
// runner, the inspector) reads this list.
#pragma once

#include <cstdint>
#include <string_view>

#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

struct screen_entry {
    screen_routine routine;
    const char* name; // the routine's name without "screen_": "main", "max_values", ...
};

inline constexpr screen_entry screen_list[] = {
#define TXM9_SCREEN(name) {screen_##name, #name},
#include "firmware/monitor/screens.def"
};

inline constexpr int SCREEN_COUNT = static_cast<int>(sizeof screen_list / sizeof screen_list[0]);

// The screen's place in screen_list, or -1 for a routine that is not a screen (or none).
int screen_index(screen_routine screen);
// The short name ("main"); "(none)" for no screen, "(not a screen)" for any other routine.
const char* screen_name(screen_routine screen);
// The screen of a short name, or nullptr if there is none by that name.
screen_routine screen_named(std::string_view name);
