// What the inspector shows, for every frontend that has one (the window's tool window, the
// page's panel): the firmware from inside, in sections, each value as text. Made from the
// instrument's one list of variables, so that a variable without a row of its own still shows,
// as a plain number in the section of its kind.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/front_panel.h"
#include "engine/time_control.h"

namespace txm9 {

// Where the inspector reads what only the frontend knows.
struct inspector_sources {
    const front_panel* panel = nullptr; // the run: phase, passes, time since ON
    const time_control* time = nullptr; // speed and pause; none: life speed
    std::function<bool()> lamp_lit;     // the alarm lamp as shown
};

struct inspector_value {
    std::string text;
    bool setting = false; // a setting or calibration value, with a factory value to compare
    bool changed = false; // it differs from the factory value
    std::string factory;  // the factory value, as text
};

struct inspector_row {
    std::string label;
    std::function<inspector_value()> value;
};

struct inspector_section {
    std::string title;
    std::vector<inspector_row> rows;
};

// Run, Measurement, Voltage alarm, Screen, Settings and calibration, Tick: in that order.
std::vector<inspector_section> inspector_sections(const inspector_sources& sources);

// "×¼", "×1", "×4", "×16".
std::string speed_name(double speed);

} // namespace txm9
