#include <gtest/gtest.h>

#include <vector>

#include "engine/time_control.h"
#include "engine/timing.h"

using namespace txm9;

namespace {

// Which of `frames` frame deliveries bring the tick.
std::vector<int> ticking_frames(time_control& time, int frames) {
    std::vector<int> ticks;
    for (int i = 1; i <= frames; ++i) {
        if (time.frame_delivery()) {
            ticks.push_back(i);
        }
    }
    return ticks;
}

} // namespace

TEST(TimeControl, FramesBringTheTickEveryFourthFrameOnlyOffLifeSpeedOrPaused) {
    time_control time;
    EXPECT_TRUE(ticking_frames(time, 8).empty()) << "at x1 the frontend's timer ticks";
    time.set_speed(16);
    EXPECT_EQ(ticking_frames(time, 9), (std::vector<int>{4, 8}));
    time.reset();
    EXPECT_EQ(time.speed(), 1.0);
    time.set_paused(true);
    EXPECT_EQ(ticking_frames(time, 4), (std::vector<int>{4}));
    EXPECT_DOUBLE_EQ(time_control().frame_period_ms() * FRAMES_PER_TICK, TICK_MS);
}

TEST(TimeControl, InputsWaitWhilePausedAndComeInOrderAfterTheNextFrame) {
    time_control time;
    std::vector<int> applied;
    time.set_paused(true);
    time.input([&] { applied.push_back(1); });
    time.input([&] { applied.push_back(2); });
    EXPECT_TRUE(applied.empty());
    EXPECT_TRUE(time.holding());
    time.step();
    EXPECT_FALSE(time.holding());
    time.frame_delivery();
    EXPECT_EQ(applied, (std::vector<int>{1, 2}));
    time.step_taken();
    EXPECT_TRUE(time.holding());
    time.input([&] { applied.push_back(3); });
    time.set_paused(false); // resuming hands them over at once
    EXPECT_EQ(applied, (std::vector<int>{1, 2, 3}));
    time.input([&] { applied.push_back(4); });
    EXPECT_EQ(applied.back(), 4);
}

TEST(FrameSchedule, KeepsAFixedRateCatchesUpALateFrameAndRestartsWhenFarBehind) {
    struct step {
        double now, expected_due;
    };
    frame_schedule schedule;
    schedule.restart(1000);
    // A frame 5 ms late is due at once and the next keeps the schedule; 75 ms behind, the
    // schedule starts again from now.
    for (const step& s : {step{1001, 1025}, step{1030, 1050}, step{1080, 1080}, step{1081, 1100},
                          step{1200, 1200}, step{1201, 1225}}) {
        EXPECT_DOUBLE_EQ(schedule.next_due(s.now, 25), s.expected_due) << "at " << s.now;
    }
}
