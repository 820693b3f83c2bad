// Painting frames into the front panel's display picture with the real render_lcd, a new one
// and the one already shown, and the floor they are measured against: a plain copy of as many
// bytes as the picture holds.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_table.h"
#include "firmware/lcd/framebuffer.h"
#include "engine/front_panel.h"
#include "qt/pcmain.h"
#include "firmware/monitor/power_on.h"
#include "quiet_frontend.h"
#include "qt/render_lcd.h"
#include "firmware/monitor/state.h"

using namespace txm9;

namespace {

// The main display with its readings, as a typical frame.
void typical_frame() {
    power_on_reset();
    power_on_finish();
    raw_volts_adc = 1500;
    raw_amps_adc = 1060;
    quiet_frontend frontend;
    front_panel(frontend).main_loop_pass();
}

// Most passes: the frame on the screen is drawn again and nothing reaches the picture.
void bm_render_same(benchmark::State& state) {
    typical_frame();
    for (auto _ : state) {
        render_lcd();
        benchmark::DoNotOptimize(Form1->Image1->surface().constBits());
        benchmark::ClobberMemory();
    }
}

// A frame that differs from the one shown (one pixel, every time) is painted in whole.
void bm_render_new(benchmark::State& state) {
    typical_frame();
    for (auto _ : state) {
        lcd_buffer[0] ^= 1;
        render_lcd();
        benchmark::DoNotOptimize(Form1->Image1->surface().constBits());
        benchmark::ClobberMemory();
    }
}

void bm_picture_copy(benchmark::State& state) {
    const QImage& surface = Form1->Image1->surface();
    const auto bytes = static_cast<std::size_t>(surface.sizeInBytes());
    std::vector<unsigned char> from(bytes, 0x55);
    std::vector<unsigned char> to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetLabel(std::to_string(surface.width()) + " x " + std::to_string(surface.height()) +
                   " x " + std::to_string(surface.depth() / 8) + " = " + std::to_string(bytes) +
                   " bytes");
}

const bool registered = [] {
    register_measured("render_lcd, a new frame", "memcpy of the picture", bm_render_new);
    register_measured("render_lcd, the frame shown again", "memcpy of the picture",
                      bm_render_same);
    register_floor("memcpy of the picture", bm_picture_copy);
    return true;
}();

} // namespace
