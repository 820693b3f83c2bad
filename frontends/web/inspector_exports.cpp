// The inspector beside the page's panel: the run as the engine sees it and every variable of
// the instrument in the group the core's list gives it, the settings and calibration marked
// as their factory value or changed from it. The page asks five times a second while shown.
#include <emscripten.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "engine/instrument_snapshot.h"
#include "engine/instrument_variables.h"
#include "engine/timing.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "web_panel.h"

using namespace txm9;

namespace {

std::string inspected;

// The groups in the order the inspector shows them.
struct group_entry {
    const char* title;
    variable_group first;
    variable_group second;
};
constexpr group_entry GROUPS[] = {
    {"Measurement", variable_group::measurement, variable_group::measurement},
    {"Voltage alarm", variable_group::alarm, variable_group::alarm},
    {"Screen", variable_group::screens, variable_group::screens},
    {"Settings and calibration", variable_group::settings, variable_group::calibration},
    {"Tick", variable_group::tick, variable_group::tick},
};

void json_text(std::ostream& out, const std::string& text) {
    out << '"';
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out << '\\';
        }
        out << c;
    }
    out << '"';
}

// One row: its name, its value and a note (empty for none).
void row(std::ostream& out, bool& first, const std::string& name, const std::string& value,
         const std::string& note = {}) {
    out << (first ? "" : ",") << '[';
    json_text(out, name);
    out << ',';
    json_text(out, value);
    out << ',';
    json_text(out, note);
    out << ']';
    first = false;
}

const char* phase_name(panel_phase phase) {
    switch (phase) {
    case panel_phase::off: return "off";
    case panel_phase::splash: return "splash";
    case panel_phase::running: return "running";
    }
    return "?";
}

std::string speed_name(double speed) {
    if (speed == 0.25) {
        return "×¼";
    }
    char text[16];
    std::snprintf(text, sizeof text, "×%g", speed);
    return text;
}

void run_group(std::ostream& out) {
    const front_panel& engine = web_panel::engine;
    const time_control& time = web_panel::frontend.time();
    out << "{\"name\":\"Run\",\"rows\":[";
    bool first = true;
    row(out, first, "state", phase_name(engine.phase()));
    row(out, first, "nested runs", std::to_string(engine.depth()));
    row(out, first, "passes since ON", std::to_string(engine.passes_since_on()));
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f s",
                  static_cast<double>(engine.frames_since_on() * FRAME_MS) / 1000.0);
    row(out, first, "instrument time", seconds);
    row(out, first, "speed",
        time.paused() ? "paused (" + speed_name(time.speed()) + ")" : speed_name(time.speed()));
    out << "]}";
}

void variable_group_rows(std::ostream& out, const group_entry& group) {
    out << ",{\"name\":";
    json_text(out, group.title);
    out << ",\"rows\":[";
    bool first = true;
    if (group.first == variable_group::screens) {
        row(out, first, "active_screen", screen_name(active_screen));
        row(out, first, "return_screen", screen_name(return_screen));
    }
    if (group.first == variable_group::alarm) {
        row(out, first, "lamp", web_panel::frontend.lamp_lit() ? "lit" : "unlit");
    }
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        const instrument_variable& v = instrument_variables[i];
        if (v.group != group.first && v.group != group.second) {
            continue;
        }
        const int64_t now = v.read();
        int64_t factory = 0;
        std::string note;
        if (factory_value(v.name, factory)) {
            note = now == factory ? "factory" : "factory " + std::to_string(factory);
        }
        row(out, first, v.name, std::to_string(now), note);
    }
    out << "]}";
}

} // namespace

extern "C" {

// The inspector's groups as JSON: [{name, rows: [[name, value, note], ...]}, ...].
EMSCRIPTEN_KEEPALIVE const char* txm9_inspector() {
    std::ostringstream out;
    out << '[';
    run_group(out);
    for (const group_entry& group : GROUPS) {
        variable_group_rows(out, group);
    }
    out << ']';
    inspected = out.str();
    return inspected.c_str();
}

} // extern "C"
