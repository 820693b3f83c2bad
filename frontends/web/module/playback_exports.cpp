// What the page calls to play a scenario on its panel ("Play on the panel"). The page reads
// the text, starts the play with the instrument off and, while the play waits for time to
// pass with the instrument off, waits on its own clock at the speed chosen and resumes it.
// Start and resume may switch the instrument on: the page calls them through Asyncify, and
// they return once the instrument is off again.
#include <emscripten.h>

#include <optional>
#include <string>

#include "json_text.h"
#include "scenario/message_text.h"
#include "scenario/play_status.h"
#include "web_playback.h"

using namespace txm9;

namespace {

web_playback playback;
std::string answer;
// A mistake found before the play started.
std::optional<scenario_outcome> mistake;

// The message and summary quote the user's bytes; like the runner's, they show a control byte
// or broken UTF-8 as \xNN.
std::string outcome_json(const scenario_outcome& o, int line, int round) {
    return std::string("{\"status\":\"") + status_name(o.status) +
           "\",\"message\":" + json_quote(valid_utf8(o.message)) +
           ",\"summary\":" + json_quote(valid_utf8(played_status("", round, o))) +
           ",\"expectations\":" + std::to_string(o.expectations) +
           ",\"failed\":" + std::to_string(o.failed) + ",\"line\":" + std::to_string(line) +
           ",\"instrument_ms\":" + std::to_string(o.instrument_ms) + "}";
}

} // namespace

extern "C" {

// Reads `text` and plays it from program start. Returns 1 when it has a mistake
// (txm9_panel_play_outcome gives it), else 0.
EMSCRIPTEN_KEEPALIVE int txm9_panel_play(const char* text) {
    mistake.reset();
    if (const std::optional<std::string> found = playback.load(text)) {
        mistake.emplace();
        mistake->status = outcome_status::cannot_run;
        mistake->message = *found;
        return 1;
    }
    playback.start();
    return 0;
}

EMSCRIPTEN_KEEPALIVE void txm9_panel_play_resume() {
    playback.resume();
}

// Someone took the panel over: the play stops where it is.
EMSCRIPTEN_KEEPALIVE void txm9_panel_play_stop() {
    playback.stop();
}

// Instrument milliseconds the play waits with the instrument off before it resumes; -1 when
// it does not wait.
EMSCRIPTEN_KEEPALIVE double txm9_panel_play_wait_ms() {
    const std::optional<uint64_t> wait = playback.wait_ms();
    return wait ? static_cast<double>(*wait) : -1.0;
}

EMSCRIPTEN_KEEPALIVE int txm9_panel_play_finished() {
    return playback.finished() ? 1 : 0;
}

// Once finished, the play's outcome as JSON: status, message, summary (what the status bar
// says of its `round`), expectations, failed, line (the last carried out) and instrument_ms.
EMSCRIPTEN_KEEPALIVE const char* txm9_panel_play_outcome(int round) {
    answer = mistake ? outcome_json(*mistake, 0, round)
                     : outcome_json(playback.conclude(), playback.line(), round);
    return answer.c_str();
}

} // extern "C"
