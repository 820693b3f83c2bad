// A frontend that shows nothing and has no events: the engine's passes alone, for timing.
#pragma once

#include <benchmark/benchmark.h>

#include "engine/front_panel.h"
#include "firmware/lcd/framebuffer.h"

using namespace txm9;

class quiet_frontend : public panel_frontend {
public:
    bool calibrate = true;

    void show_frame(const frame_report&) override {
        benchmark::DoNotOptimize(lcd_buffer);
        benchmark::ClobberMemory();
    }
    void set_lamp(uint32_t colour) override { benchmark::DoNotOptimize(colour); }
    bool calibrate_ticked() override { return calibrate; }
    bool key_fast_ticked() override { return false; }
    void tick_calibrate() override {}
    void deliver_events() override {}
};
