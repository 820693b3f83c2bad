// The scenario runner's cost per pass, against the bare firmware pass it is built on: a
// headless minute of instrument time (2400 passes after the splash) played end to end.
#include <benchmark/benchmark.h>

#include "bench_table.h"
#include "engine/timing.h"
#include "scenario/scenario_parser.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

void bm_scenario(benchmark::State& state) {
    scenario script;
    parse_error error;
    if (!parse_scenario("volts 1500\namps 1060\non\nwait 1 min\n", script, error)) {
        state.SkipWithError(error.message.c_str());
        return;
    }
    player_options options;
    options.files = false;
    uint64_t frames = 0;
    for (auto _ : state) {
        const scenario_outcome outcome = play_scenario(script, options);
        frames = outcome.instrument_ms / FRAME_MS;
        benchmark::DoNotOptimize(frames);
    }
    state.counters[ITEMS_PER_ITERATION] = static_cast<double>(frames);
}

const bool registered = [] {
    register_measured("scenario runner, per pass of a minute's wait",
                      "pass screen_main, volts and amps", bm_scenario);
    return true;
}();

} // namespace
