// The twin's two sides, read back and held against each other: the frames the desktop build
// showed (from the journal of its play) and those the firmware showed on its microcontroller
// (handed back by target/twin.cpp), scenario by scenario and frame by frame.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "firmware/lcd/framebuffer.h"

namespace txm9 {

// The LCD and the alarm lamp after a frame.
struct panel_frame {
    bool lamp_lit = false;
    std::array<uint8_t, LCD_BUFFER_SIZE> lcd{};
    bool operator==(const panel_frame&) const = default;
};

struct run_end_at {
    uint32_t frame = 0; // the run's last frame
    bool faulted = false;
    std::string fault;
    bool operator==(const run_end_at&) const = default;
};

// One scenario as one side played it.
struct played_scenario {
    std::string file;                 // from the journal; empty on the target's side
    std::vector<panel_frame> frames;  // every frame shown, from program start
    std::vector<int> lines;           // the scenario line of each frame (the journal's side)
    std::vector<run_end_at> run_ends; // in the order the runs ended
};

// Reads a journal of txm9-scenario --journal; false with `error` on a journal that is not one
// or is cut short.
bool read_journal_frames(std::string_view bytes, std::vector<played_scenario>& scenarios,
                         std::string& error);
// Reads what the target handed back.
bool read_target_frames(std::string_view bytes, std::vector<played_scenario>& scenarios,
                        std::string& error);

struct twin_difference {
    std::string file;
    int line = 0;
    uint32_t frame = 0;      // the first frame that differs
    std::string what;        // what differs, for a person
    bool has_frames = false; // both frames are there, for pictures
    panel_frame desktop;
    panel_frame target;
};

struct twin_comparison {
    int scenarios = 0;
    uint64_t frames = 0;                      // frames compared, over all scenarios
    std::vector<twin_difference> differences; // the first of each scenario that differs
};

twin_comparison compare_twin(const std::vector<played_scenario>& desktop,
                             const std::vector<played_scenario>& target);

} // namespace txm9
