// The scenario playground's side of the module: plays a scenario text as txm9-scenario does,
// in a module of its own (the page runs it in a worker, away from the panel), and reports
// how it went and the pictures it wrote.
#include <emscripten.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>

#include "lcd_rgba.h"
#include "memory_picture_files.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

// The outcome as JSON, kept until the next play.
std::string report;
std::vector<uint8_t> rgba;

// An instrument that is still running after this much instrument time stops, so that a
// scenario without an end (a `wait` of days) cannot hold the playground forever.
constexpr uint64_t PLAYGROUND_TIME_LIMIT_MS = 24ull * 60 * 60 * 1000;

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

const char* status_name(outcome_status status) {
    switch (status) {
    case outcome_status::passed: return "passed";
    case outcome_status::failed: return "failed";
    case outcome_status::cannot_run: return "cannot_run";
    }
    return "?";
}

} // namespace

extern "C" {

// Plays `text` from program start; returns the outcome as JSON: status, message, notices,
// passes, instrument_ms, printed (what `print` wrote) and pictures ({name, width, height}).
EMSCRIPTEN_KEEPALIVE const char* txm9_play(const char* text) {
    clear_memory_pictures();
    std::ostringstream printed;
    player_options options;
    options.print_to = &printed;
    options.time_limit_ms = PLAYGROUND_TIME_LIMIT_MS;
    const scenario_outcome outcome = play_scenario_text(text, "playground.scenario", options);

    std::ostringstream out;
    out << "{\"status\":\"" << status_name(outcome.status) << "\""
        << ",\"message\":" << json_string(outcome.message) << ",\"notices\":[";
    for (std::size_t i = 0; i < outcome.notices.size(); ++i) {
        out << (i ? "," : "") << json_string(outcome.notices[i]);
    }
    out << "],\"passes\":" << outcome.passes << ",\"instrument_ms\":" << outcome.instrument_ms
        << ",\"printed\":" << json_string(printed.str()) << ",\"pictures\":[";
    const auto& pictures = memory_pictures();
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        out << (i ? "," : "") << "{\"name\":" << json_string(pictures[i].name)
            << ",\"width\":" << pictures[i].picture.width
            << ",\"height\":" << pictures[i].picture.height << "}";
    }
    out << "]}";
    report = out.str();
    return report.c_str();
}

// The `index`-th picture the last play wrote, as RGBA bytes.
EMSCRIPTEN_KEEPALIVE const uint8_t* txm9_played_picture(int index) {
    const argb_picture& picture = memory_pictures().at(static_cast<std::size_t>(index)).picture;
    rgba = rgba_bytes(picture.pixels);
    return rgba.data();
}

} // extern "C"
