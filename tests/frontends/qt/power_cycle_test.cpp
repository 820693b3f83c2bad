// ON, the main loop's passes, OFF, nested runs, closing while running, a firmware fault, and
// the pacing of frames.
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "qt/system_colours.h"

using namespace txm9;

namespace {

constexpr int SPLASH = 80; // splash frames before the first pass

using PowerCycle = FrontPanel;

// What a test screen saw when the main loop called it.
struct screen_visit {
    bool picture_hidden;
    bool buffer_clear;
    uint32_t lamp;
    uint8_t calibrate_enabled;
    uint8_t key_step;
    uint8_t pending_key;
};
std::vector<screen_visit> visits;
uint8_t pass_mark;

// Stands in for the instrument's screens: records the pass and draws a mark that changes
// from pass to pass.
void probe_screen() {
    visits.push_back(
        {Form1->Image1->isHidden(),
         std::all_of(lcd_buffer, lcd_buffer + LCD_BUFFER_SIZE, [](uint8_t b) { return b == 0; }),
         Form1->Shape1->fillColour(), calibrate_enabled, key_step, pending_key});
    ++pass_mark;
    lcd_buffer[0] = pass_mark;
    lcd_buffer[LCD_BUFFER_SIZE - 1] = static_cast<uint8_t>(~pass_mark);
    pending_key = 0;
}

// The probe takes over from the screens in the event delivery of the first pass.
void use_probe_screen(RunDriver& run) {
    visits.clear();
    pass_mark = 0;
    run.between(SPLASH + 1, [] {
        active_screen = probe_screen;
        idle_countdown = 30; // no inactivity return during the test
    });
}

TEST_F(PowerCycle, OnRunsTheSplashThenPassesUntilOff) {
    RunDriver run(form.get());
    use_probe_screen(run);
    int runs_during = -1;
    run.between(120, [&] {
        runs_during = form->runs();
        click(form->Button2);
    });
    run.click_on();
    EXPECT_EQ(runs_during, 1);
    EXPECT_EQ(form->runs(), 0);
    EXPECT_EQ(run.frames(), 120) << "OFF in pass 40's event delivery ends the loop";
    EXPECT_EQ(visits.size(), 120u - SPLASH - 1) << "the probe ran from pass 2 on";
    EXPECT_EQ(active_screen, probe_screen);
}

TEST_F(PowerCycle, PassStepsInOrder) {
    RunDriver run(form.get());
    use_probe_screen(run);
    bool shown_at_delivery = false;
    run.between(90, [&] {
        shown_at_delivery = form->Image1->isVisible();
        form->CheckBox2->setChecked(true);
        form->CheckBox3->setChecked(true);
        pending_key = KEY_CW;
    });
    run.between(95, [&] {
        form->CheckBox2->setChecked(false);
        form->CheckBox3->setChecked(false);
    });
    run.between(100, [&] { click(form->Button2); });
    run.click_on();

    ASSERT_EQ(visits.size(), 100u - SPLASH - 1);
    EXPECT_TRUE(shown_at_delivery) << "the picture is shown at event delivery";
    for (std::size_t i = 0; i < visits.size(); ++i) {
        const int frame = SPLASH + 2 + static_cast<int>(i);
        SCOPED_TRACE("frame " + std::to_string(frame));
        EXPECT_FALSE(visits[i].picture_hidden) << "built off-screen: the picture stays shown";
        EXPECT_TRUE(visits[i].buffer_clear) << "the screen draws on a cleared buffer";
        const bool ticked = frame > 90 && frame <= 95;
        EXPECT_EQ(visits[i].calibrate_enabled, ticked ? 1 : 0);
        EXPECT_EQ(visits[i].key_step, ticked ? 10 : 1);
        EXPECT_EQ(visits[i].pending_key, frame == 91 ? KEY_CW : 0);
    }
}

TEST_F(PowerCycle, DisplayAndLampKeepTheirLastStateAfterOff) {
    RunDriver run(form.get());
    use_probe_screen(run);
    QImage last_painted;
    run.on_painted = [&](int) { last_painted = form->Image1->picture().copy(); };
    run.between(110, [&] { click(form->Button2); });
    run.click_on();
    const uint32_t lamp = form->Shape1->fillColour();
    const QImage after = form->Image1->picture();
    EXPECT_EQ(after, last_painted);
    EXPECT_FALSE(after.isNull());
    QTest::qWait(150);
    EXPECT_EQ(form->Image1->picture(), last_painted) << "nothing is painted while off";
    EXPECT_EQ(form->Shape1->fillColour(), lamp);
    EXPECT_TRUE(form->Image1->isVisible());
}

TEST_F(PowerCycle, LampFollowsAlarmAcknowledgeAndBlinkOnEveryPass) {
    form->Timer1->stop(); // the test sets the blink phase itself
    struct phase {
        const char* name;
        int first_frame, last_frame;
        uint32_t lamp;
    };
    const phase phases[] = {{"alarm, bright phase", 82, 90, COLOUR_LAMP_LIT},
                            {"alarm, dark phase", 92, 100, COLOUR_LAMP_UNLIT},
                            {"acknowledged", 102, 110, COLOUR_LAMP_UNLIT},
                            {"no alarm at 12.0 V", 112, 120, COLOUR_LAMP_UNLIT}};
    RunDriver run(form.get());
    std::vector<uint32_t> lamp_at(200, 0xFFFFFFFF);
    run.on_painted = [&](int frame) { lamp_at[frame] = form->Shape1->fillColour(); };
    // 0 V lies below the factory low alarm of 10.0 V: the alarm stands from the first pass.
    run.between(SPLASH, [] { blink_phase = 1; });
    run.between(90, [] { blink_phase = 0; });
    run.between(100, [] {
        blink_phase = 1;
        alarm_ack = 1;
    });
    run.between(110, [&] { form->TrackBar1->setValue(1455); });
    run.between(120, [&] { click(form->Button2); });
    run.click_on();

    for (const phase& p : phases) {
        SCOPED_TRACE(p.name);
        for (int frame = p.first_frame; frame <= p.last_frame; ++frame) {
            EXPECT_EQ(lamp_at[frame], p.lamp) << "frame " << frame;
        }
    }
}

TEST_F(PowerCycle, InactivityReturnsToTheMainDisplay) {
    RunDriver run(form.get());
    screen_routine at_frame_91 = nullptr;
    uint8_t countdown_at_91 = 0;
    run.between(90, [] {
        active_screen = screen_menu;
        idle_countdown = 0;
    });
    run.on_painted = [&](int frame) {
        if (frame == 91) {
            at_frame_91 = active_screen;
            countdown_at_91 = idle_countdown;
        }
    };
    run.between(95, [&] { click(form->Button2); });
    run.click_on();
    EXPECT_EQ(at_frame_91, screen_main);
    EXPECT_EQ(countdown_at_91, 30);
}

TEST_F(PowerCycle, KeyClickedWhileOffIsDiscardedByOn) {
    click(form->Image3);
    ASSERT_EQ(pending_key, KEY_LEFT);
    RunDriver run(form.get());
    int key_at_first_frame = -1;
    run.on_painted = [&](int frame) {
        if (frame == 1) {
            key_at_first_frame = pending_key;
        }
    };
    run.between(85, [&] { click(form->Button2); });
    run.click_on();
    EXPECT_EQ(key_at_first_frame, 0);
}

TEST_F(PowerCycle, OffDuringTheSplashIsForgotten) {
    RunDriver run(form.get());
    run.between(10, [&] { click(form->Button2); });
    run.between(130, [&] { click(form->Button2); });
    run.click_on();
    EXPECT_EQ(run.frames(), 130) << "the instrument ran on after the splash";
}

TEST_F(PowerCycle, OnWhileRunningStartsAFreshNestedRunThatOneOffEnds) {
    RunDriver run(form.get());
    int runs_inside = 0;
    uint8_t language_inside = 9;
    run.between(90, [] { language = 1; });
    run.between(100, [&] { click(form->Button1); });
    run.on_painted = [&](int frame) {
        if (frame == 101) {
            runs_inside = form->runs();
            language_inside = language;
        }
    };
    run.between(200, [&] { click(form->Button2); });
    run.click_on();
    EXPECT_EQ(runs_inside, 2);
    EXPECT_EQ(language_inside, 0) << "the nested run starts from the factory settings";
    EXPECT_EQ(run.frames(), 200) << "one OFF ends both runs: no outer pass after it";
    EXPECT_EQ(form->runs(), 0);
}

TEST_F(PowerCycle, OnDuringTheSplashThenOffResumesTheOuterRun) {
    RunDriver run(form.get());
    run.between(10, [&] { click(form->Button1); });  // inner splash 11..90
    run.between(120, [&] { click(form->Button2); }); // ends the inner run
    int runs_after = 0;
    run.between(150, [&] { runs_after = form->runs(); });
    run.between(230, [&] { click(form->Button2); });
    run.click_on();
    // The outer splash's remaining 70 frames (121..190) clear the OFF, then the outer loop
    // runs until the second OFF.
    EXPECT_EQ(runs_after, 1);
    EXPECT_EQ(run.frames(), 230);
}

TEST_F(PowerCycle, CloseWhileRunningWaitsForOff) {
    RunDriver run(form.get());
    bool visible_after_close = false;
    run.between(100, [&] { form->close(); });
    run.between(120, [&] {
        visible_after_close = form->isVisible();
        click(form->Button2);
    });
    run.click_on();
    EXPECT_TRUE(visible_after_close) << "the window stays while the instrument runs";
    EXPECT_EQ(run.frames(), 120) << "the instrument ran on until OFF";
    EXPECT_FALSE(form->isVisible()) << "after OFF the close goes through and the program ends";
}

TEST_F(PowerCycle, CloseWhileOffClosesAtOnce) {
    form->close();
    EXPECT_FALSE(form->isVisible());
}

TEST_F(PowerCycle, ZeroWidthCalibrationEndsTheRunWithAnErrorBox) {
    RunDriver run(form.get());
    run.between(100, [] { cal_charge_adc = cal_zero_adc; });
    QImage last_painted;
    run.on_painted = [&](int) { last_painted = form->Image1->picture().copy(); };
    seen_message_box box;
    close_message_box_when_shown(box);
    run.click_on();

    EXPECT_TRUE(box.shown);
    EXPECT_EQ(box.text.toStdString(), "Floating point division by zero");
    EXPECT_EQ(box.title, QGuiApplication::applicationDisplayName());
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(run.frames(), 100) << "the fault came in the measurement of the next pass";
    EXPECT_EQ(form->runs(), 0);
    EXPECT_EQ(form->Image1->picture(), last_painted) << "the display keeps its last frame";

    RunDriver again(form.get());
    uint32_t charge_point = 0;
    again.between(100, [&] {
        charge_point = cal_charge_adc;
        click(form->Button2);
    });
    again.click_on();
    EXPECT_EQ(again.frames(), 100) << "the next ON runs normally";
    EXPECT_EQ(charge_point, 248u) << "with the factory calibration";
}

TEST_F(PowerCycle, PacedFramesFollowAFixedTwentyFiveMillisecondSchedule) {
    form->setFramePacing(true);
    RunDriver run(form.get());
    std::vector<qint64> painted_at(200, 0);
    QElapsedTimer clock;
    clock.start();
    // The timer's own timeouts, counted while the splash plays (the instrument's tick
    // counters wrap every 20 ticks, that is once per splash).
    int ticks = 0;
    const QMetaObject::Connection counter = QObject::connect(form->Timer1, &QTimer::timeout, [&] {
        ticks += run.frames() >= 1 && run.frames() < SPLASH ? 1 : 0;
    });
    run.on_painted = [&](int frame) { painted_at[frame] = clock.elapsed(); };
    run.between(SPLASH + 40, [&] { click(form->Button2); });
    run.click_on();

    const qint64 splash = painted_at[SPLASH + 1] - painted_at[1];
    RecordProperty("splash_ms", static_cast<int>(splash));
    EXPECT_GE(splash, 1950) << "80 frames of 25 ms";
    EXPECT_LE(splash, 2500);
    const qint64 forty_passes = painted_at[SPLASH + 40] - painted_at[SPLASH];
    RecordProperty("forty_passes_ms", static_cast<int>(forty_passes));
    EXPECT_GE(forty_passes, 975);
    EXPECT_LE(forty_passes, 1300);
    QObject::disconnect(counter);
    EXPECT_GE(ticks, 15) << "the 100 ms tick kept coming during the splash";
}

} // namespace
