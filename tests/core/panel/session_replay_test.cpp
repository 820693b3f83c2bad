// A session handed over to a rebuilt firmware: replayed to the same state and recorded on,
// and, where the firmware no longer follows it, stopped at the input where it parted.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>

#include "engine/timing.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "panel/panel_session.h"
#include "panel/session_handover.h"
#include "panel/session_replay.h"

using namespace txm9;

namespace {

// Actions run in the event delivery after a chosen frame (numbered from 1).
class quiet_frontend : public panel_frontend {
public:
    int frames = 0;
    std::map<int, std::function<void()>> after;

    void show_frame(const frame_report&) override { ++frames; }
    void set_lamp(uint32_t) override {}
    bool calibrate_ticked() override { return false; }
    bool key_fast_ticked() override { return false; }
    void tick_calibrate() override {}
    void deliver_events() override {
        if (const auto it = after.find(frames); it != after.end()) {
            it->second();
        }
    }
};

constexpr int FIRST_PASS = SPLASH_FRAMES + 1;

struct ReplayAfterRebuild : ::testing::Test {
    quiet_frontend frontend;
    double now_ms = 0;
    panel_session session{frontend, [this] { return now_ms; }};
    session_handover handover;

    // ON, into the menu and down it with a few turns and a slider, handed over while
    // running; then OFF.
    ReplayAfterRebuild() {
        session.program_start();
        frontend.after[FIRST_PASS] = [&] { session.volts(1800); };
        frontend.after[FIRST_PASS + 4] = [&] { session.key(KEY_SELECT); };
        frontend.after[FIRST_PASS + 12] = [&] { session.key(KEY_CW); };
        frontend.after[FIRST_PASS + 20] = [&] { session.key(KEY_CW); };
        frontend.after[FIRST_PASS + 28] = [&] { session.key(KEY_SELECT); };
        frontend.after[FIRST_PASS + 60] = [&] {
            handover.inputs = session.recorder().inputs();
            handover.frames = session.recorder().frames();
            handover.ms = 12345;
            handover.running = session.run_goes_on();
            handover.screen = screen_index(active_screen);
            session.power_off();
        };
        EXPECT_FALSE(session.power_on().faulted);
        frontend.after.clear();
    }

    // Replays the handover from program start; OFF once caught up.
    replay_report replay() {
        replay_report report;
        int calls = 0;
        session_replay replay(session, {}, [&](const replay_report& r) {
            ++calls;
            report = r;
            screen_at_end = screen_index(active_screen);
            volts_at_end = raw_volts_adc;
            if (session.running()) {
                session.power_off();
            }
        });
        replay.start(handover);
        EXPECT_TRUE(replay.caught_up());
        EXPECT_EQ(calls, 1);
        return report;
    }
    int screen_at_end = -2;
    uint32_t volts_at_end = 0;
};

TEST_F(ReplayAfterRebuild, FollowsTheSessionToTheSameScreenAndGoesOnRecordingAfterIt) {
    ASSERT_EQ(handover.inputs.size(), 6u); // ON, volts, four keys
    const replay_report report = replay();
    EXPECT_EQ(report.parted_at, 0u) << report.parting;
    EXPECT_EQ(report.inputs, handover.inputs.size());
    EXPECT_EQ(screen_at_end, handover.screen);
    EXPECT_EQ(volts_at_end, 1800u);
    // The recorder holds the handed-over session, then the OFF given after it.
    const auto& inputs = session.recorder().inputs();
    ASSERT_EQ(inputs.size(), handover.inputs.size() + 1);
    EXPECT_EQ(inputs.back().what, session_recorder::kind::off);
    EXPECT_GE(inputs.back().ms, handover.ms);
    EXPECT_GT(report.passes, 50u);
}

TEST_F(ReplayAfterRebuild, AKeyThatLandsOnAnotherScreenIsReportedAtItsInput) {
    // As if the firmware had moved a screen: the recording says each key came to another one.
    for (const std::size_t input : {2u, 3u, 5u}) {
        SCOPED_TRACE(input);
        session_handover changed = handover;
        int& screen = changed.inputs[input].screen;
        screen = (screen + 1) % SCREEN_COUNT;
        std::swap(changed, handover);
        const replay_report report = replay();
        std::swap(changed, handover);
        EXPECT_EQ(report.parted_at, input + 1) << report.parting;
        EXPECT_EQ(report.inputs, input);
        EXPECT_NE(report.parting.find(screen_list[handover.inputs[input].screen + 0].name),
                  std::string::npos)
            << report.parting;
        // The session is kept whole, whatever the replay made of it.
        EXPECT_EQ(session.recorder().inputs().size(), handover.inputs.size() + 1);
    }
}

TEST_F(ReplayAfterRebuild, ASliderOrBoxOnAnotherScreenIsReportedAtItsInput) {
    // The volts slider as recorded (input 1), and a KeyFast box ticked on the menu screen
    // between the third and fourth key, each as if recorded on another screen.
    session_recorder::input box = handover.inputs[4];
    box.what = session_recorder::kind::key_fast;
    box.value = 1;
    box.frame += 2;
    const struct {
        std::size_t input;
        bool insert_box;
        const char* words;
    } cases[] = {{1, false, "the volts slider"}, {5, true, "the KeyFast box"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        session_handover changed = handover;
        if (c.insert_box) {
            changed.inputs.insert(changed.inputs.begin() + static_cast<std::ptrdiff_t>(c.input),
                                  box);
        }
        int& screen = changed.inputs[c.input].screen;
        ASSERT_GE(screen, 0) << "recorded without its screen";
        screen = (screen + 1) % SCREEN_COUNT;
        std::swap(changed, handover);
        const replay_report report = replay();
        std::swap(changed, handover);
        EXPECT_EQ(report.parted_at, c.input + 1) << report.parting;
        EXPECT_EQ(report.of_inputs, changed.inputs.size());
        EXPECT_NE(report.parting.find(c.words), std::string::npos) << report.parting;
    }
}

TEST_F(ReplayAfterRebuild, ADisplayOnAnotherScreenAtTheEndIsReported) {
    handover.screen = (handover.screen + 1) % SCREEN_COUNT;
    const replay_report report = replay();
    EXPECT_EQ(report.parted_at, handover.inputs.size() + 1);
    EXPECT_NE(report.parting.find("display"), std::string::npos) << report.parting;
}

TEST(SessionHandover, ReadsBackWhatItWrites) {
    session_handover h;
    h.inputs.push_back({session_recorder::kind::key, KEY_CW, false, true, 90, 4000, 3});
    h.frames = 120;
    h.ms = 77000;
    h.running = true;
    h.screen = 5;
    h.speed = 0.25;
    h.paused = true;
    h.frontend = {{"window", "10 20"}};
    session_handover back;
    std::string problem;
    ASSERT_TRUE(read_handover(handover_text(h), back, problem)) << problem;
    ASSERT_EQ(back.inputs.size(), 1u);
    EXPECT_EQ(back.inputs[0].frame, 90u);
    EXPECT_EQ(back.inputs[0].screen, 3);
    EXPECT_FALSE(back.inputs[0].stored);
    EXPECT_EQ(back.frames, 120u);
    EXPECT_EQ(back.speed, 0.25);
    EXPECT_TRUE(back.paused);
    EXPECT_EQ(back.frontend_value("window"), "10 20");
    EXPECT_FALSE(read_handover("txm9-session-handover 1\ninput 99 0 0 0 0 0 0\n", back, problem));
    EXPECT_NE(problem.find("line 2"), std::string::npos) << problem;
}

TEST(SessionLength, InWordsAndPassesGrouped) {
    EXPECT_EQ(session_length_words(192000), "3 min 12 s");
    EXPECT_EQ(session_length_words(45000), "45 s");
    EXPECT_EQ(grouped(7680), "7,680");
    EXPECT_EQ(grouped(1234567), "1,234,567");
    EXPECT_EQ(grouped(12), "12");
}

} // namespace
