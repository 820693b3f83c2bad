// What the page calls to play a scenario on its panel ("Play on the panel"). The page reads
// the text, starts the play with the instrument off and, while the play waits for time to
// pass with the instrument off, waits on its own clock at the speed chosen and resumes it.
// Start and resume may switch the instrument on: the page calls them through Asyncify, and
// they return once the instrument is off again.
#include <emscripten.h>

#include <string>

#include "json_text.h"
#include "web_playback.h"

using namespace txm9;

namespace {

web_playback playback;
std::string answer;

} // namespace

extern "C" {

// Reads `text` and plays it from program start. Returns 1 when it has a mistake
// (txm9_panel_play_outcome gives it), else 0.
EMSCRIPTEN_KEEPALIVE int txm9_panel_play(const char* text) {
    if (const std::optional<std::string> mistake = playback.load(text)) {
        answer = "{\"status\":\"cannot_run\",\"message\":" + json_string(*mistake) +
                 ",\"expectations\":0,\"failed\":0,\"line\":0,\"instrument_ms\":0}";
        return 1;
    }
    answer.clear();
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

// The play's outcome as JSON, once finished: status, message, expectations, failed, line
// (the last carried out) and instrument_ms.
EMSCRIPTEN_KEEPALIVE const char* txm9_panel_play_outcome() {
    if (playback.finished() && answer.empty()) {
        answer = playback.conclude();
    }
    return answer.c_str();
}

} // extern "C"
