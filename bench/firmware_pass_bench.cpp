// One firmware pass of the main loop on each screen and on each layout of the main display,
// and the floor it is measured against: clearing the frame buffer alone.
#include <benchmark/benchmark.h>

#include "bench_table.h"
#include "engine/front_panel.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "quiet_frontend.h"

using namespace txm9;

namespace {

// Switched on with the factory settings, 12.3 V and 25 A charging settled on the inputs,
// calibration unlocked, in the bright half of the blink, a minute of keys left.
void switched_on_with_readings() {
    power_on_reset();
    power_on_finish();
    raw_volts_adc = 1500;
    raw_amps_adc = 1060;
    quiet_frontend frontend;
    front_panel panel(frontend);
    for (int i = 0; i < 40; ++i) {
        panel.main_loop_pass();
    }
    calibrate_enabled = 1;
    blink_phase = 1;
    idle_countdown = 30;
}

struct pass_case {
    const char* name;
    screen_routine screen;
    uint8_t display_mode;
    uint8_t amps_page;
    uint8_t cursor;
};

// The list screens stand on their first setting row; the menu on its calibration item.
const pass_case cases[] = {
    {"pass screen_main, volts and amps", screen_main, 0, 0, 0},
    {"pass screen_main, volts page", screen_main, 1, 0, 0},
    {"pass screen_main, amps page", screen_main, 2, 1, 0},
    {"pass screen_max_values", screen_max_values, 0, 0, 0},
    {"pass screen_menu", screen_menu, 0, 0, 4},
    {"pass screen_display_setup", screen_display_setup, 1, 0, 2},
    {"pass screen_contrast", screen_contrast, 0, 0, 0},
    {"pass screen_battery_setup", screen_battery_setup, 0, 0, 1},
    {"pass screen_adc_values", screen_adc_values, 0, 0, 0},
    {"pass screen_calibrate", screen_calibrate, 0, 0, 1},
    {"pass screen_message", screen_message, 0, 0, 2},
};

void bm_pass(benchmark::State& state, const pass_case& c) {
    switched_on_with_readings();
    display_mode = c.display_mode;
    auto_cycle = c.display_mode != 0 ? 1 : 0; // the display setup list shows all its rows
    amps_page = c.amps_page;
    active_screen = c.screen;
    return_screen = screen_calibrate;
    menu_cursor = c.cursor;
    edit_mode = 0;
    quiet_frontend frontend;
    front_panel panel(frontend);
    for (auto _ : state) {
        panel.main_loop_pass();
    }
    if (active_screen != c.screen) {
        state.SkipWithError("the screen changed during the benchmark");
    }
}

void bm_lcd_clear(benchmark::State& state) {
    for (auto _ : state) {
        lcd_clear();
        benchmark::DoNotOptimize(lcd_buffer);
        benchmark::ClobberMemory();
    }
}

const bool registered = [] {
    for (const pass_case& c : cases) {
        register_measured(c.name, "lcd_clear", [&c](benchmark::State& s) { bm_pass(s, c); });
    }
    register_floor("lcd_clear", bm_lcd_clear);
    return true;
}();

} // namespace
