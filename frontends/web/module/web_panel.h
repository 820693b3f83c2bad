// The page's one front panel: its frontend and the engine that runs it, shared by the calls
// the page makes (the panel's controls, the inspector).
#pragma once

#include <emscripten.h>

#include <cstdint>

#include "engine/front_panel.h"
#include "firmware/monitor/state.h"
#include "web_frontend.h"

namespace txm9::web_panel {

inline web_frontend frontend;
inline front_panel engine{frontend};

// Real time since the page opened, for the waits between inputs while the instrument is off.
inline uint64_t ms_since_start() {
    return static_cast<uint64_t>(emscripten_get_now());
}
inline bool running() {
    return engine.depth() > 0;
}
// Whether a run is in progress that goes on after this input: an OFF in the main loop ends the
// run before its next pass; in the splash it is forgotten.
inline bool run_goes_on() {
    return running() && !(power_off_request != 0 && engine.phase() == panel_phase::running);
}

} // namespace txm9::web_panel
