// A session played on the engine and recorded as a scenario replays in the runner to the
// same screen and settings.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "engine/front_panel.h"
#include "engine/program_start.h"
#include "engine/virtual_clock.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "firmware/monitor/tick.h"
#include "scenario/scenario_player.h"
#include "scenario/session_recorder.h"

using namespace txm9;

namespace {

// A person at the panel: inputs at chosen deliveries, each also told to the recorder.
class recorded_session : public panel_frontend {
public:
    std::map<int, std::function<void()>> at;
    session_recorder recorder;
    front_panel panel{*this};
    virtual_clock clock{tick};
    bool calibrate = false;

    void press(uint8_t code) {
        recorder.key(code, pending_key == 0, clock.now_ms(), panel.depth() > 0);
        key_pressed(code);
    }
    void on() {
        recorder.on_clicked(clock.now_ms(), panel.depth() > 0);
        panel.power_on();
    }

    void show_frame(const frame_report&) override { recorder.frame_shown(); }
    void set_lamp(uint32_t) override {}
    bool calibrate_ticked() override { return calibrate; }
    bool key_fast_ticked() override { return false; }
    void tick_calibrate() override { calibrate = true; }
    void deliver_events() override {
        clock.deliver();
        const auto action = at.find(++deliveries_);
        if (action != at.end()) {
            action->second();
        }
    }

private:
    int deliveries_ = 0;
};

} // namespace

TEST(SessionRecorder, ASessionReplaysToTheSameScreenAndSettings) {
    program_start_state();
    recorded_session s;
    raw_volts_adc = 1500;
    s.recorder.volts(1500, 0, false);
    s.at[30] = [&] { s.press(KEY_SELECT); }; // in the splash: calibration unlocked
    s.at[90] = [&] { s.press(KEY_SELECT); }; // the menu
    for (int d = 91; d < 95; ++d) {
        s.at[d] = [&] { s.press(KEY_CW); }; // four turns: the calibration item
    }
    s.at[96] = [&] { s.press(KEY_SELECT); };
    s.at[97] = [&] { s.press(KEY_CW); };       // one pass after the knob, as the replay does
    s.at[99] = [&] { s.press(KEY_RIGHT); };    // down to the zero point's row
    s.at[99 + 1] = [&] { s.press(KEY_LEFT); }; // back up
    s.at[120] = [&] {
        raw_amps_adc = 700;
        s.recorder.amps(700, s.clock.now_ms(), true);
    };
    s.at[400] = [&] {
        s.recorder.off_clicked(s.clock.now_ms(), true);
        s.panel.power_off();
    };
    s.on();
    const screen_routine screen = active_screen;
    const uint8_t cursor = menu_cursor;
    const uint32_t amps = amps_adc;
    ASSERT_EQ(screen, screen_calibrate);

    const std::string text =
        s.recorder.scenario_text(s.clock.now_ms() + 500, false, screen_name(screen), "CALIBRATE");
    player_options options;
    options.files = false;
    const scenario_outcome outcome = play_scenario_text(text, "session.scenario", options);
    EXPECT_EQ(outcome.status, outcome_status::passed) << outcome.message << "\n" << text;
    EXPECT_EQ(menu_cursor, cursor) << text;
    EXPECT_EQ(amps_adc, amps);
    EXPECT_EQ(calibrate_enabled, 1);
}
