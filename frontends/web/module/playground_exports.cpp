// The scenario playground's side of the module: plays a scenario text as txm9-scenario does,
// in a module of its own (the page runs it in a worker, away from the panel), and reports
// how it went and the pictures it wrote. The scenario plays in a folder of the module's own
// memory file system that lasts as long as the module: a screenshot written by one play is a
// reference frame for the next.
#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "json_text.h"
#include "scenario/message_text.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

// The outcome as JSON, and the files the play wrote, kept until the next play.
std::string report;
struct written_file {
    std::string name;
    std::string bytes;
};
std::vector<written_file> written;

namespace fs = std::filesystem;
const fs::path PLAY_FOLDER = "/playground";

// The files in the play folder and below: name, when and how much was last written.
using file_marks = std::map<fs::path, std::pair<fs::file_time_type, uintmax_t>>;

file_marks play_folder_files() {
    file_marks marks;
    std::error_code ignored;
    fs::create_directories(PLAY_FOLDER, ignored);
    for (const auto& entry : fs::recursive_directory_iterator(PLAY_FOLDER, ignored)) {
        if (entry.is_regular_file()) {
            marks[entry.path()] = {entry.last_write_time(), entry.file_size()};
        }
    }
    return marks;
}

// The files written since `before`, in the order written.
std::vector<written_file> files_written_since(const file_marks& before) {
    std::vector<std::pair<fs::file_time_type, fs::path>> found;
    for (const auto& [path, mark] : play_folder_files()) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != mark) {
            found.emplace_back(mark.first, path);
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<written_file> files;
    for (const auto& [when, path] : found) {
        std::ifstream in(path, std::ios::binary);
        files.push_back({path.lexically_relative(PLAY_FOLDER).string(),
                         {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
    }
    return files;
}

// An instrument that is still running after this much instrument time stops, so that a
// scenario without an end (a `wait` of days) cannot hold the playground forever.
constexpr uint64_t PLAYGROUND_TIME_LIMIT_MS = 24ull * 60 * 60 * 1000;

} // namespace

extern "C" {

// Plays `text` from program start; returns the outcome as JSON: status, message, notices,
// passes, instrument_ms, printed (what `print` wrote) and files (the names of the files it
// wrote, in order; txm9_played_file gives their bytes).
EMSCRIPTEN_KEEPALIVE const char* txm9_play(const char* text) {
    const file_marks before = play_folder_files();
    std::error_code ignored;
    fs::current_path(PLAY_FOLDER, ignored);
    std::ostringstream printed;
    player_options options;
    options.print_to = &printed;
    options.time_limit_ms = PLAYGROUND_TIME_LIMIT_MS;
    const scenario_outcome outcome = play_scenario_text(text, "playground.scenario", options);

    // What the playground shows quotes the user's bytes: as on the runner's output, a control
    // byte or broken UTF-8 shows as \xNN.
    std::ostringstream out;
    out << "{\"status\":\"" << status_name(outcome.status) << "\""
        << ",\"message\":" << json_quote(valid_utf8(outcome.message)) << ",\"notices\":[";
    for (std::size_t i = 0; i < outcome.notices.size(); ++i) {
        out << (i ? "," : "") << json_quote(valid_utf8(outcome.notices[i]));
    }
    out << "],\"passes\":" << outcome.passes << ",\"instrument_ms\":" << outcome.instrument_ms
        << ",\"printed\":" << json_quote(valid_utf8(printed.str())) << ",\"files\":[";
    written = files_written_since(before);
    for (std::size_t i = 0; i < written.size(); ++i) {
        out << (i ? "," : "") << json_quote(valid_utf8(written[i].name));
    }
    out << "]}";
    report = out.str();
    return report.c_str();
}

// The bytes of the `index`-th file the last play wrote; txm9_played_file_size gives their
// number.
EMSCRIPTEN_KEEPALIVE const char* txm9_played_file(int index) {
    return written.at(static_cast<std::size_t>(index)).bytes.data();
}
EMSCRIPTEN_KEEPALIVE int txm9_played_file_size(int index) {
    return static_cast<int>(written.at(static_cast<std::size_t>(index)).bytes.size());
}

} // extern "C"
