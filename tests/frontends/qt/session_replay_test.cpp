// A session at the window saved as a scenario replays in the runner exactly: driven through
// the window's own handlers (keys, knob, sliders, boxes, ON and OFF, pause, step and speed in
// the inspector), then played by the runner, it ends on the same screen with the same
// settings and the same frame on the display.
#include <QTest>
#include <QTimer>

#include <array>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/instrument_variables.h"
#include "engine/program_start.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

constexpr int SPLASH = 80;
using SessionReplay = FrontPanel;

// What a replay must reproduce: the screen, every variable but the tick's own counters (the
// window's tick follows the desktop's clock), and the display.
struct instrument_now {
    const char* screen = "";
    std::vector<std::pair<std::string, int64_t>> variables;
    std::array<uint8_t, LCD_BUFFER_SIZE> display{};

    static instrument_now read() {
        instrument_now now;
        now.screen = screen_name(active_screen);
        for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
            const instrument_variable& v = instrument_variables[i];
            if (v.group != variable_group::tick && std::string(v.name) != "idle_countdown") {
                now.variables.emplace_back(v.name, v.read());
            }
        }
        std::memcpy(now.display.data(), lcd_buffer, LCD_BUFFER_SIZE);
        return now;
    }
};

// Runs `actions` one after another from the event loop, each once the one before has
// returned: the way a person clicks while the passes are paused.
void one_after_another(std::vector<std::function<void()>> actions) {
    if (actions.empty()) {
        return;
    }
    QTimer::singleShot(0, [actions]() mutable {
        const std::function<void()> first = actions.front();
        actions.erase(actions.begin());
        first();
        one_after_another(std::move(actions));
    });
}

} // namespace

TEST_F(SessionReplay, SessionsReplayToTheSameScreenSettingsAndFrame) {
    // The window's own controls, on the window of the session being played.
    auto knob = [&] { click(form->Image5); };
    auto cw = [&] { form->BitBtn1->click(); };
    auto ccw = [&] { form->Button3->click(); };
    auto off = [&] { form->Button2->click(); };
    instrument_now at_save;
    std::string saved;
    // Saves the session as it stands, and what the instrument is then.
    auto save = [&] {
        saved = form->sessionScenario();
        at_save = instrument_now::read();
    };
    const struct {
        const char* name;
        std::function<void()> session; // ends by saving
    } cases[] = {
        {"pause, turns, step and resume, OFF, ON with the knob in the splash",
         [&] {
             TForm1& f = *form;
             f.TrackBar1->setValue(1500);
             RunDriver run(&f);
             run.between(SPLASH + 2, [&] {
                 f.setFramesPaused(true);
                 one_after_another({cw, cw, [&] { f.session().time().step(); }});
             });
             run.between(SPLASH + 3, [&] {
                 one_after_another({knob, [&] { f.session().time().step(); }});
             });
             run.between(SPLASH + 4, [&] {
                 one_after_another({ccw, [&] { f.setFramesPaused(false); }});
             });
             run.between(SPLASH + 9, off);
             run.click_on();
             f.TrackBar2->setValue(1060);
             run.between(SPLASH + 9 + 30, knob); // in the splash: calibration unlocked
             run.between(SPLASH + 9 + SPLASH + 3, knob);
             run.between(SPLASH + 9 + SPLASH + 6, off);
             run.click_on();
             save();
         }},
        {"speeds and a session saved while running",
         [&] {
             TForm1& f = *form;
             f.TrackBar1->setValue(1500);
             f.CheckBox2->click();
             RunDriver run(&f);
             run.between(SPLASH + 1, [&] {
                 f.setSpeed(4.0);
                 knob();
             });
             run.between(SPLASH + 5, [&] {
                 f.setSpeed(16.0);
                 cw();
             });
             run.between(SPLASH + 6, cw);
             run.between(SPLASH + 9, [&] {
                 f.setSpeed(0.25);
                 knob();
             });
             run.between(SPLASH + 40, [&] { f.TrackBar2->setValue(900); });
             run.between(SPLASH + 47, [&] {
                 save();
                 off();
             });
             run.click_on();
         }},
        {"a nested ON, keys in its splash, OFF ending both",
         [&] {
             TForm1& f = *form;
             f.TrackBar1->setValue(1500);
             RunDriver run(&f);
             run.between(SPLASH + 3, knob);
             run.between(SPLASH + 6, [&] { f.Button1->click(); });
             run.between(SPLASH + 6 + 20, knob);
             run.between(SPLASH + 6 + 21, cw); // the second key of a frame: lost
             run.between(SPLASH + 6 + SPLASH + 2, knob);
             run.between(SPLASH + 6 + SPLASH + 4, [&] {
                 f.CheckBox3->click();
                 cw();
             });
             run.between(SPLASH + 6 + SPLASH + 10, off);
             run.click_on();
             save();
         }},
        {"OFF while paused with a key kept, then ON at once",
         [&] {
             TForm1& f = *form;
             f.TrackBar1->setValue(1500);
             RunDriver run(&f);
             run.between(SPLASH + 5, [&] {
                 f.setFramesPaused(true);
                 one_after_another({[&] { f.session().time().step(); }});
             });
             run.between(SPLASH + 6, [&] { one_after_another({knob, cw, off}); });
             run.click_on();
             run.between(SPLASH + 6 + SPLASH + 1, [&] { cw(); });
             run.between(SPLASH + 6 + SPLASH + 2, [&] { knob(); });
             run.between(SPLASH + 6 + SPLASH + 3, [&] {
                 save();
                 off();
             });
             run.click_on();
         }},
        {"OFF in the splash is forgotten; sliders and boxes while off",
         [&] {
             TForm1& f = *form;
             RunDriver run(&f);
             f.TrackBar1->setValue(1400);
             f.CheckBox2->click();
             run.between(20, off);
             run.between(SPLASH + 2, knob);
             run.between(SPLASH + 4, off);
             run.click_on();
             f.TrackBar1->setValue(1500);
             f.CheckBox2->click();
             knob(); // while off: waits in the slot, then ON clears it
             save();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        form.reset();
        program_start_state();
        form = std::make_unique<TForm1>();
        form->show();
        // Discharging: the direction arrow stands still. (Charging, it blinks with the tick.)
        form->TrackBar2->setValue(3000);
        c.session();
        ASSERT_FALSE(saved.empty());

        program_start_state();
        player_options options;
        options.files = false;
        const scenario_outcome outcome = play_scenario_text(saved, "session.scenario", options);
        EXPECT_EQ(outcome.status, outcome_status::passed) << outcome.message << "\n" << saved;
        const instrument_now replayed = instrument_now::read();
        EXPECT_STREQ(replayed.screen, at_save.screen) << saved;
        EXPECT_EQ(replayed.variables, at_save.variables) << saved;
        EXPECT_EQ(replayed.display, at_save.display) << saved;
        saved.clear();
    }
}
