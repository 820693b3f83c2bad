// Painting frames into the front panel's display picture with the real render_lcd: a frame
// that differs everywhere, one that differs in one band of eight rows, and the one already
// shown; and the floor they are measured against: a plain copy of as many bytes as the
// picture holds.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_table.h"
#include "engine/front_panel.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/power_on.h"
#include "firmware/monitor/state.h"
#include "qt/pcmain.h"
#include "qt/render_lcd.h"
#include "quiet_frontend.h"

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

// A frame that differs from the one shown in every pixel: the typical frame and its
// negative, in turn.
void bm_render_new(benchmark::State& state) {
    typical_frame();
    for (auto _ : state) {
        for (uint8_t& column : lcd_buffer) {
            column = static_cast<uint8_t>(~column);
        }
        render_lcd();
        benchmark::DoNotOptimize(Form1->Image1->surface().constBits());
        benchmark::ClobberMemory();
    }
}

// A frame that differs from the one shown in one band of eight rows across the display (a
// page of the frame buffer), as when a line of text changes.
void bm_render_band(benchmark::State& state) {
    typical_frame();
    uint8_t* const band = lcd_buffer + 3 * LCD_WIDTH;
    for (auto _ : state) {
        for (uint8_t* column = band; column != band + LCD_WIDTH; ++column) {
            *column = static_cast<uint8_t>(~*column);
        }
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
    register_measured("render_lcd, one changed 8-row band", "memcpy of the picture",
                      bm_render_band);
    register_measured("render_lcd, the frame shown again", "memcpy of the picture", bm_render_same);
    register_floor("memcpy of the picture", bm_picture_copy);
    return true;
}();

} // namespace
