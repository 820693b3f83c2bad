// The front panel's running order as any frontend sees it: the calls it receives in order,
// nested runs, OFF during the splash, the fault that ends a run, and the virtual clock.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/front_panel.h"
#include "engine/panel_colours.h"
#include "engine/virtual_clock.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"

using namespace txm9;

namespace {

// Writes down every call; `on_delivery` runs in the n-th delivery (counted from 1).
class recording_frontend : public panel_frontend {
public:
    std::vector<std::string> calls;
    std::function<void(int delivery)> on_delivery = [](int) {};
    front_panel panel{*this};
    int deliveries = 0;

    void show_frame(const frame_report& f) override {
        calls.push_back(f.phase == panel_phase::splash ? "splash frame"
                        : f.screen == screen_main      ? "pass main"
                                                       : "pass other");
    }
    void set_lamp(uint32_t colour) override {
        calls.push_back(colour == COLOUR_LAMP_LIT || colour == COLOUR_LAMP_UNLIT ? "lamp"
                                                                                 : "lamp?");
    }
    bool calibrate_ticked() override {
        calls.push_back("read calibrate");
        return false;
    }
    bool key_fast_ticked() override {
        calls.push_back("read keyfast");
        return false;
    }
    void tick_calibrate() override { calls.push_back("tick calibrate"); }
    void deliver_events() override {
        calls.push_back("deliver");
        on_delivery(++deliveries);
    }
};

constexpr int SPLASH_DELIVERIES = 80;

} // namespace

TEST(FrontPanel, SplashThenPassesInTheirOrderUntilOff) {
    recording_frontend f;
    f.on_delivery = [&](int n) {
        if (n == 3) {
            key_pressed(KEY_SELECT); // a knob press in the splash
        }
        if (n == SPLASH_DELIVERIES + 2) {
            f.panel.power_off();
        }
    };
    const run_end end = f.panel.power_on();
    EXPECT_FALSE(end.faulted);
    EXPECT_EQ(f.panel.depth(), 0);
    EXPECT_EQ(f.panel.phase(), panel_phase::off);
    EXPECT_EQ(f.panel.passes_since_on(), 2u);

    const std::vector<std::string> splash_start(f.calls.begin(), f.calls.begin() + 7);
    EXPECT_EQ(splash_start,
              (std::vector<std::string>{"splash frame", "deliver", "splash frame", "deliver",
                                        "splash frame", "deliver", "tick calibrate"}));
    const std::vector<std::string> last_pass(f.calls.end() - 5, f.calls.end());
    EXPECT_EQ(last_pass, (std::vector<std::string>{"read calibrate", "lamp", "read keyfast",
                                                   "pass main", "deliver"}));
}

TEST(FrontPanel, OffInTheSplashIsForgottenAndANestedRunEndsWithTheOuterOnOneOff) {
    recording_frontend f;
    int depth_seen = 0;
    f.on_delivery = [&](int n) {
        if (n == 5) {
            f.panel.power_off(); // forgotten when the splash ends
        } else if (n == SPLASH_DELIVERIES + 3) {
            f.panel.power_on(); // a second ON while running
        } else if (n == 2 * SPLASH_DELIVERIES + 6) {
            depth_seen = f.panel.depth();
            f.panel.power_off();
        }
    };
    f.panel.power_on();
    EXPECT_EQ(depth_seen, 2);
    EXPECT_EQ(f.deliveries, 2 * SPLASH_DELIVERIES + 6); // the outer pass ends, no more
    EXPECT_EQ(f.panel.depth(), 0);
}

TEST(FrontPanel, ZeroWidthCalibrationEndsTheRunWithItsFault) {
    recording_frontend f;
    f.on_delivery = [&](int n) {
        if (n == SPLASH_DELIVERIES + 1) {
            // Both points on the zero point: whichever side the filtered count is on.
            cal_charge_adc = cal_discharge_adc = cal_zero_adc;
        }
    };
    const run_end end = f.panel.power_on();
    EXPECT_TRUE(end.faulted);
    EXPECT_EQ(end.fault, "Floating point division by zero");
    EXPECT_EQ(f.panel.passes_since_on(), 1u);
    EXPECT_EQ(f.panel.depth(), 0);
}

TEST(VirtualClock, TicksEveryFourthFrameAndEventsRunAtTheirInstantAfterItsTick) {
    std::vector<std::string> seen;
    virtual_clock clock([&] { seen.push_back("tick " + std::to_string(clock.now_ms())); });
    clock.at(100, [&] { seen.push_back("event 100"); });
    clock.at(60, [&] { seen.push_back("event 60"); });
    clock.at(100, [&] { seen.push_back("second event 100"); });
    for (int frame = 0; frame < 8; ++frame) {
        clock.deliver();
    }
    EXPECT_EQ(clock.now_ms(), 200u);
    EXPECT_EQ(seen, (std::vector<std::string>{"event 60", "tick 100", "event 100",
                                              "second event 100", "tick 200"}));
    clock.at(150, [&] { seen.push_back("late event"); }); // in the past: the next delivery
    clock.advance_to(1000);
    EXPECT_EQ(seen.size(), 5u + 1u + 8u);
    EXPECT_EQ(clock.pending(), 0u);
}
