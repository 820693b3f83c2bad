// A session handed from one program to the next when the firmware has been rebuilt: every input
// since program start with the frames and time it came at, where the session stood (its
// length, a run going on, the screen shown), the time control as it was, and a few lines the
// frontend keeps for itself (where its windows were). The new program replays the inputs
// through its own firmware and goes on recording after them, so the session is never lost.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "scenario/session_recorder.h"

namespace txm9 {

struct session_handover {
    std::vector<session_recorder::input> inputs;
    uint64_t frames = 0;  // frames shown since program start
    uint64_t ms = 0;      // the session's length in real milliseconds
    bool running = false; // a run goes on after the last input
    int screen = -1;      // the screen shown (place in screen_list), -1 none
    double speed = 1.0;
    bool paused = false;
    double build_s = 0; // how long the rebuild took
    // The frontend's own lines, name and value (a value has no line break).
    std::vector<std::pair<std::string, std::string>> frontend;

    // The value of the frontend's line `name`; empty if it has none.
    std::string frontend_value(std::string_view name) const;
};

std::string handover_text(const session_handover& handover);
// False with the line and what is wrong with it in `problem`.
bool read_handover(std::string_view text, session_handover& handover, std::string& problem);

} // namespace txm9
