// The 100 ms tick: blink phase, 2-second step, inactivity countdown, automatic page cycling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"

namespace {

void run_ticks(int count) {
    for (int i = 0; i < count; ++i) {
        tick();
    }
}

class Tick : public ::testing::Test {
protected:
    void SetUp() override {
        blink_ticks = 0;
        blink_phase = 0;
        step_ticks = 0;
        idle_countdown = 0;
        display_mode = 0;
        auto_cycle = 0;
        cycle_time_index = 0;
        cycle_steps = 0;
        amps_page = 0;
    }
};

TEST_F(Tick, BlinkPhaseFlipsOnEveryEleventhTick) {
    for (int t = 1; t <= 44; ++t) {
        tick();
        SCOPED_TRACE("tick " + std::to_string(t));
        const int expected_phase = (t / 11) % 2;
        EXPECT_EQ(blink_phase, expected_phase);
        EXPECT_EQ(blink_ticks, t % 11);
    }
}

TEST_F(Tick, BlinkFlipTurnsAnyOtherPhaseValueToZero) {
    blink_phase = 7;
    blink_ticks = 10;
    tick();
    EXPECT_EQ(blink_phase, 0);
    EXPECT_EQ(blink_ticks, 0);
}

TEST_F(Tick, BlinkCounterAboveItsRangeFlipsAtOnce) {
    blink_ticks = 200;
    tick();
    EXPECT_EQ(blink_phase, 1);
    EXPECT_EQ(blink_ticks, 0);
}

TEST_F(Tick, IdleCountdownStepsDownOnTheTwentiethTick) {
    idle_countdown = 30;
    run_ticks(19);
    EXPECT_EQ(idle_countdown, 30);
    EXPECT_EQ(step_ticks, 19);
    tick();
    EXPECT_EQ(idle_countdown, 29);
    EXPECT_EQ(step_ticks, 0);
    run_ticks(20 * 29);
    EXPECT_EQ(idle_countdown, 0);
    run_ticks(40);
    EXPECT_EQ(idle_countdown, 0) << "the countdown rests at 0";
}

TEST_F(Tick, StepCounterAboveItsRangeStepsAtOnce) {
    step_ticks = 255;
    idle_countdown = 5;
    tick();
    EXPECT_EQ(idle_countdown, 4);
    EXPECT_EQ(step_ticks, 0);
}

struct cycling_case {
    const char* name;
    uint8_t display_mode;
    uint8_t auto_cycle;
    uint8_t cycle_time_index;
    uint8_t start_cycle_steps;
    int steps;                     // 2-second steps to run
    std::vector<int> change_steps; // steps (1-based) after which the page has just changed
    uint8_t final_cycle_steps;
};

TEST_F(Tick, AutomaticPageCycling) {
    const cycling_case cases[] = {
        {"every step at index 0", 1, 1, 0, 0, 4, {1, 2, 3, 4}, 0},
        {"every third step at index 1", 2, 1, 1, 0, 7, {3, 6}, 1},
        {"manual display", 1, 0, 0, 0, 4, {}, 0},
        {"combined display never pages", 0, 1, 0, 0, 4, {}, 0},
        {"cycling switch not exactly 1", 1, 2, 0, 0, 4, {}, 0},
        {"count already past a lowered setting", 1, 1, 3, 25, 1, {1}, 0},
        {"count kept while manual", 1, 0, 0, 9, 3, {}, 9},
    };
    for (const cycling_case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        display_mode = c.display_mode;
        auto_cycle = c.auto_cycle;
        cycle_time_index = c.cycle_time_index;
        cycle_steps = c.start_cycle_steps;
        std::vector<int> changes;
        for (int step = 1; step <= c.steps; ++step) {
            const uint8_t before = amps_page;
            run_ticks(20);
            if (amps_page != before) {
                changes.push_back(step);
            }
        }
        EXPECT_EQ(changes, c.change_steps);
        EXPECT_EQ(cycle_steps, c.final_cycle_steps);
    }
}

TEST_F(Tick, PageAlternatesBetweenZeroAndOne) {
    display_mode = 1;
    auto_cycle = 1;
    cycle_time_index = 0;
    std::vector<int> pages;
    for (int step = 0; step < 4; ++step) {
        run_ticks(20);
        pages.push_back(amps_page);
    }
    EXPECT_EQ(pages, (std::vector<int>{1, 0, 1, 0}));
}

} // namespace
