// A scenario played on the window ends where the runner's play of it ends, and a person's
// click takes the panel over.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "engine/instrument_variables.h"
#include "engine/program_start.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "qt/panel_playback.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

// Everything a play leaves behind: every variable, both screens and the display.
struct panel_state {
    std::vector<int64_t> variables;
    std::string screen, return_to;
    std::array<uint8_t, LCD_BUFFER_SIZE> frame{};
    bool operator==(const panel_state&) const = default;
};

// The variables that differ, by name, with the window's value and the runner's.
std::string differences(const panel_state& window, const panel_state& runner) {
    std::string out;
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (window.variables[k] != runner.variables[k]) {
            out += std::string(instrument_variables[i].name) + " " +
                   std::to_string(window.variables[k]) + " against " +
                   std::to_string(runner.variables[k]) + "; ";
        }
    }
    return out;
}

panel_state state_now() {
    panel_state s;
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        s.variables.push_back(instrument_variables[i].read());
    }
    s.screen = screen_name(active_screen);
    s.return_to = screen_name(return_screen);
    std::memcpy(s.frame.data(), lcd_buffer, LCD_BUFFER_SIZE);
    return s;
}

class PanelPlaybackTest : public FrontPanel {
protected:
    QString write(const char* text) {
        const QString path = folder.filePath(QStringLiteral("played.scenario"));
        std::ofstream(path.toStdString()) << text;
        return path;
    }
    QTemporaryDir folder;
};

// Keys, turns, both sliders and both boxes, the knob in the splash, time while off, OFF and
// ON again, a nested ON, KeyFast steps and French; it ends on a setup list, mid-edit.
const char* const WALK = "volts 1500\n"
                         "amps 1060\n"
                         "on 1 s\n"
                         "press knob\n"
                         "wait 1 s\n"
                         "press knob\n"
                         "turn cw 2\n"
                         "press knob\n"
                         "turn cw 4\n"
                         "press knob\n"
                         "keyfast on\n"
                         "turn cw 3\n"
                         "off\n"
                         "wait 350 ms\n"
                         "amps 2048\n"
                         "calibrate on\n"
                         "on\n"
                         "press knob\n"
                         "turn cw\n"
                         "press knob\n"
                         "turn cw 3\n"
                         "press knob\n"
                         "turn cw\n"
                         "on\n"
                         "wait 700 ms\n"
                         "press knob\n"
                         "turn cw 2\n"
                         "press knob\n"
                         "turn cw 4\n"
                         "press knob\n"
                         "turn ccw 2\n";

TEST_F(PanelPlaybackTest, EndsWithTheRunnersScreenSettingsAndFrame) {
    QSignalSpy exited(&form->playback(), &PanelPlayback::exitRequested);
    ASSERT_TRUE(form->playback().play(write(WALK), false, true));
    ASSERT_TRUE(exited.wait(30000));
    EXPECT_EQ(exited.takeFirst().at(0).toInt(), 0)
        << form->StatusBar1->currentMessage().toStdString();
    EXPECT_EQ(form->runs(), 0);
    const panel_state window = state_now();

    program_start_state();
    player_options options;
    options.files = false;
    const scenario_outcome outcome = play_scenario_text(WALK, "walk.scenario", options);
    ASSERT_EQ(outcome.status, outcome_status::passed) << outcome.message;
    const panel_state runner = state_now();
    EXPECT_EQ(window.screen, "battery_setup");
    EXPECT_EQ(window.screen, runner.screen);
    EXPECT_EQ(window.return_to, runner.return_to);
    EXPECT_EQ(differences(window, runner), "");
    EXPECT_TRUE(window.frame == runner.frame) << "the last frames differ";
}

// The runner's exit statuses, also for a scenario that ends inside the splash (whose OFF the
// splash forgets) and for one that cannot go on while the instrument runs.
TEST_F(PanelPlaybackTest, ExitsWithTheRunnersStatus) {
    const struct {
        const char* scenario;
        int status;
    } cases[] = {
        {"volts 1500\non 1 s\n", 0},
        {"volts 1500\non\nexpect screen menu\npress knob\nexpect screen menu\n", 1},
        {"volts 1500\non\non\non\non\non\non\non\non\non\n", 2}, // nine runs deep
    };
    for (const auto& c : cases) {
        QSignalSpy exited(&form->playback(), &PanelPlayback::exitRequested);
        ASSERT_TRUE(form->playback().play(write(c.scenario), false, true))
            << form->StatusBar1->currentMessage().toStdString();
        ASSERT_TRUE(exited.wait(20000)) << c.scenario;
        EXPECT_EQ(exited.takeFirst().at(0).toInt(), c.status) << c.scenario;
        EXPECT_EQ(form->runs(), 0) << c.scenario;
    }
}

TEST_F(PanelPlaybackTest, TimeWhileOffPassesAtTheInspectorsSpeedWhichOnKeeps) {
    form->setSpeed(16.0);
    QSignalSpy exited(&form->playback(), &PanelPlayback::exitRequested);
    QElapsedTimer real;
    real.start();
    ASSERT_TRUE(form->playback().play(write("wait 8 s\nvolts 1500\non\nexpect screen main\n"),
                                      false, true));
    ASSERT_TRUE(exited.wait(20000));
    EXPECT_EQ(exited.takeFirst().at(0).toInt(), 0);
    EXPECT_LT(real.elapsed(), 4000); // eight seconds at x16 take half a second
    EXPECT_EQ(form->session().time().speed(), 16.0);
}

TEST_F(PanelPlaybackTest, AClickDuringPlaybackStopsItAndHandsThePanelOver) {
    int frames = 0;
    QObject::connect(form.get(), &TForm1::displayPainted, form.get(), [&] {
        if (++frames == 120) { // 40 passes after the splash, in the scenario's long wait
            QTimer::singleShot(0, form.get(), [&] { click(form->Image3); }); // F1
        }
        if (frames == 140) {
            QTimer::singleShot(0, form.get(), [&] { form->Button2->click(); });
        }
    });
    ASSERT_TRUE(form->playback().play(write("volts 1500\non\nwait 2 s\npress knob\n"
                                            "expect screen menu\n"),
                                      false, false));
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames >= 140 && form->runs() == 0; }, 20000));
    EXPECT_FALSE(form->playback().playing());
    EXPECT_EQ(active_screen, screen_max_values); // F1 was taken; the knob never came
    EXPECT_TRUE(form->StatusBar1->currentMessage().contains(QStringLiteral("stopped")))
        << form->StatusBar1->currentMessage().toStdString();
}

} // namespace
