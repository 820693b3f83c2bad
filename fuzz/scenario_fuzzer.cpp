// The scenario runner on arbitrary text: every input is parsed, and what parses is played
// with a limit on instrument time and without touching files. Any outcome is fine (passed,
// failed or cannot run); a crash, a sanitizer report, a hang or an escaping exception is not.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "scenario/scenario_player.h"

using namespace txm9;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    player_options options;
    options.files = false;
    options.time_limit_ms = 5 * 60 * 1000;
    (void)play_scenario_text(text, "fuzz.scenario", options);
    return 0;
}
