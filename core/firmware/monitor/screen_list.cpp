#include "firmware/monitor/screen_list.h"

int screen_index(screen_routine screen) {
    for (int i = 0; i < SCREEN_COUNT; ++i) {
        if (screen_list[i].routine == screen) {
            return i;
        }
    }
    return -1;
}

const char* screen_name(screen_routine screen) {
    if (screen == nullptr) {
        return "(none)";
    }
    const int i = screen_index(screen);
    return i < 0 ? "(not a screen)" : screen_list[i].name;
}

screen_routine screen_named(std::string_view name) {
    for (const screen_entry& entry : screen_list) {
        if (name == entry.name) {
            return entry.routine;
        }
    }
    return nullptr;
}
