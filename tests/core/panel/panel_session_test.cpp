// The panel session: what a control does, what waits in a pause, and which clock ticks, for
// every frontend at once.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "engine/panel_inputs.h"
#include "engine/timing.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/state.h"
#include "panel/panel_session.h"
#include "scenario/scenario_parser.h"

using namespace txm9;

namespace {

// A frontend without a toolkit: a clock that moves only when told, and actions run in the
// event delivery after a chosen frame (numbered from 1, splash frames included).
class quiet_frontend : public panel_frontend {
public:
    double now_ms = 1000;
    int frames = 0;
    std::map<int, std::function<void()>> after;
    panel_session* session = nullptr;

    void show_frame(const frame_report&) override { ++frames; }
    void set_lamp(uint32_t) override {}
    bool calibrate_ticked() override { return false; }
    bool key_fast_ticked() override { return false; }
    void tick_calibrate() override {}
    void deliver_events() override {
        if (const auto it = after.find(frames); it != after.end()) {
            it->second();
        }
        if (session->time().paused()) {
            // A frontend would wait here for the step; the tests always ask for one.
            EXPECT_FALSE(session->frame_held()) << "frame " << frames;
            session->pause_over();
        }
    }
};

struct PanelSession : ::testing::Test {
    quiet_frontend frontend;
    panel_session session{frontend, [this] { return frontend.now_ms; }};

    PanelSession() {
        frontend.session = &session;
        session.program_start();
    }
    std::string recorded() const { return session.recorder().scenario_text(0, false, "main", ""); }
};

constexpr int FIRST_PASS = SPLASH_FRAMES + 1;

TEST_F(PanelSession, AKeyIsRecordedWithWhetherTheSlotWasFreeThenReachesTheSlot) {
    frontend.after[FIRST_PASS] = [&] {
        session.key(KEY_CW);
        session.key(KEY_CCW); // the slot is full: lost
        EXPECT_EQ(pending_key, KEY_CW);
    };
    frontend.after[FIRST_PASS + 3] = [&] { session.power_off(); };
    EXPECT_FALSE(session.power_on().faulted);
    const std::string text = recorded();
    EXPECT_NE(
        text.find("on\nturn cw then wait 0 passes\nturn ccw   # lost: the key slot was full\n"),
        std::string::npos)
        << text;
}

TEST_F(PanelSession, WhilePausedInputsWaitForTheFrameAfterTheNextAndOnStartsAtLifeSpeed) {
    session.time().set_speed(4.0);
    uint8_t slot_while_paused = 99;
    uint32_t volts_while_paused = 99;
    frontend.after[FIRST_PASS] = [&] {
        session.time().set_paused(true);
        session.key(KEY_SELECT);
        session.volts(1500);
        slot_while_paused = pending_key;
        volts_while_paused = raw_volts_adc;
        session.time().step();
    };
    frontend.after[FIRST_PASS + 1] = [&] {
        EXPECT_EQ(pending_key, KEY_SELECT) << "kept inputs reach the firmware after the step";
        EXPECT_EQ(raw_volts_adc, 1500u);
        session.power_off();
    };
    session.power_on();
    EXPECT_EQ(slot_while_paused, 0);
    EXPECT_EQ(volts_while_paused, 0u);
    EXPECT_EQ(session.time().speed(), 1.0) << "ON went back to life speed";
}

TEST_F(PanelSession, OffEndsTheRunInTheMainLoopButIsForgottenInTheSplash) {
    bool in_splash = true;
    bool in_main_loop = true;
    frontend.after[10] = [&] {
        session.power_off();
        in_splash = session.run_goes_on();
    };
    frontend.after[FIRST_PASS + 1] = [&] {
        EXPECT_TRUE(session.run_goes_on());
        session.power_off();
        in_main_loop = session.run_goes_on();
    };
    session.power_on();
    EXPECT_TRUE(in_splash);
    EXPECT_FALSE(in_main_loop);
    EXPECT_FALSE(session.run_goes_on());
}

// Timer1 ticks at life speed; away from it, paused, or while a play keeps the time, the frames
// or the play bring the tick instead.
TEST_F(PanelSession, Timer1TicksOnlyWhileTheDesktopClockKeepsTheTime) {
    struct play : play_frames {
        void shown(const frame_report&) override {}
        void delivered() override {}
    } a_play;
    const struct {
        const char* name;
        std::function<void()> set;
        bool running;
        bool ticks;
    } cases[] = {
        {"off at x1", [] {}, false, true},
        {"off at x4", [&] { session.time().set_speed(4.0); }, false, true},
        {"off and paused", [&] { session.time().set_paused(true); }, false, false},
        {"running at x1", [] {}, true, true},
        {"running at x4", [&] { session.time().set_speed(4.0); }, true, false},
        {"a play keeps the time", [&] { session.hand_time_to(&a_play); }, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        session.time().reset();
        session.hand_time_to(nullptr);
        bool ticked = false;
        auto check = [&] {
            c.set();
            blink_ticks = 0;
            session.timer_tick();
            ticked = blink_ticks != 0;
            EXPECT_EQ(session.timer_runs(), c.ticks);
        };
        if (c.running) {
            frontend.frames = 0;
            frontend.after.clear();
            frontend.after[FIRST_PASS] = [&] {
                check();
                session.time().reset();
                session.power_off();
            };
            session.power_on();
        } else {
            check();
        }
        EXPECT_EQ(ticked, c.ticks);
    }
}

} // namespace

namespace {

// The inputs are listed once, in panel_inputs.def: each row is a command of the scenario
// language, written back by the recorder, counted by coverage and named by the inspector,
// without a second edit.
TEST(PanelInputs, EveryRowIsACommandTheRecorderWritesBack) {
    for (const panel_input& input : panel_inputs) {
        SCOPED_TRACE(input.word);
        EXPECT_EQ(input_index(input.key), &input - panel_inputs);
        scenario script;
        parse_error mistake;
        ASSERT_TRUE(parse_scenario(std::string(input.word) + "\n", script, mistake))
            << mistake.message;
        ASSERT_EQ(script.commands.size(), 1u);
        EXPECT_EQ(script.commands[0].key, input.key);

        session_recorder recorder;
        recorder.key(input.key, true, 0, false);
        EXPECT_NE(recorder.scenario_text(0, false, "main", "")
                      .find(std::string("\n") + input.word + "\n"),
                  std::string::npos);
    }
}

} // namespace
