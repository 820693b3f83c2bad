// The scenario runner and the window play the same firmware through the same engine: the same
// inputs at the same frames give the same frames.
#include <QTest>

#include <array>
#include <cstring>

#include "engine/program_start.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

using RunnerMatchesWindow = FrontPanel;
using frame = std::array<uint8_t, LCD_BUFFER_SIZE>;

frame shown_now() {
    frame f;
    std::memcpy(f.data(), lcd_buffer, f.size());
    return f;
}

TEST_F(RunnerMatchesWindow, SameKeysAtTheSameFramesGiveTheSameFrames) {
    // The runner resumes after the first pass (frame 81) and after each key lets two frames
    // pass: the right key at 81, a turn at 83, OFF at 85, the knob in the splash at 40.
    constexpr int SPLASH = 80;
    form->TrackBar1->setValue(1500);
    form->TrackBar2->setValue(1060);
    RunDriver run(form.get());
    run.between(40, [&] { QTest::mouseClick(form->Image5, Qt::LeftButton); });
    run.between(SPLASH + 1, [&] { QTest::mouseClick(form->Image6, Qt::LeftButton); });
    run.between(SPLASH + 3, [&] { form->BitBtn1->click(); });
    run.between(SPLASH + 5, [&] { form->Button2->click(); });
    run.click_on();
    const frame window_frame = shown_now();
    const int window_frames = run.frames();

    program_start_state();
    player_options options;
    options.files = false;
    const scenario_outcome outcome = play_scenario_text(
        "volts 1500\namps 1060\non 975 ms\npress knob\nwait 1 s\npress right\nturn cw\noff\n",
        "same.scenario", options);
    ASSERT_EQ(outcome.status, outcome_status::passed) << outcome.message;
    EXPECT_EQ(static_cast<int>(SPLASH + outcome.passes), window_frames);
    EXPECT_EQ(shown_now(), window_frame);
    EXPECT_EQ(calibrate_enabled, 1); // the knob in the splash reached both
}

} // namespace
