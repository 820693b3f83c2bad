// The inspector follows the firmware, and time control holds and steps the passes. (Sessions
// saved as scenarios: session_replay_test.cpp.)
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <map>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"
#include "qt/inspector_window.h"

using namespace txm9;

namespace {

constexpr int SPLASH = 80;
using Inspector = FrontPanel;

TEST_F(Inspector, ShowsTheFirmwaresStateAsThePassesGo) {
    InspectorWindow* inspector = form->inspector();
    inspector->open();
    form->TrackBar1->setValue(1500);
    RunDriver run(form.get());
    std::map<QString, QString> seen;
    run.between(SPLASH + 1, [&] { click(form->Image5); }); // the menu
    run.between(SPLASH + 4, [&] {
        QTest::qWait(250); // a refresh
        for (const char* label : {"voltage", "active_screen", "return_screen", "state",
                                  "passes since ON", "contrast", "pending_key"}) {
            seen[label] = inspector->shownValue(label);
        }
        form->Button2->click();
    });
    run.click_on();
    EXPECT_EQ(seen["voltage"], "12.3 V");
    EXPECT_EQ(seen["active_screen"], "menu");
    EXPECT_EQ(seen["return_screen"], "(none)");
    EXPECT_EQ(seen["state"], "running");
    EXPECT_EQ(seen["pending_key"], "empty");
    EXPECT_TRUE(seen["contrast"].contains("factory")) << seen["contrast"].toStdString();
    // Four passes, and the delivery of the fourth gave the inspector its time.
    EXPECT_TRUE(seen["passes since ON"] == "3" || seen["passes since ON"] == "4")
        << seen["passes since ON"].toStdString();
}

TEST_F(Inspector, PauseHoldsThePassesAndKeysUntilAStep) {
    form->TrackBar1->setValue(1500);
    RunDriver run(form.get());
    int frames_when_paused = 0;
    int frames_after_wait = 0;
    uint8_t slot_while_paused = 99;
    int frames_after_step = 0;
    run.between(SPLASH + 2, [&] {
        form->setFramesPaused(true);
        frames_when_paused = run.frames();
        QTimer::singleShot(100, [&] {
            frames_after_wait = run.frames();
            click(form->Image6); // waits for the next pass
            slot_while_paused = pending_key;
            form->session().time().step();
            QTimer::singleShot(100, [&] {
                frames_after_step = run.frames();
                form->Button2->click();
            });
        });
    });
    run.click_on();
    EXPECT_EQ(frames_after_wait, frames_when_paused);
    EXPECT_EQ(slot_while_paused, 0);
    EXPECT_EQ(frames_after_step, frames_when_paused + 1);
    EXPECT_EQ(pending_key, KEY_RIGHT); // given to the firmware after the stepped pass
}

TEST_F(Inspector, PauseHoldsTheSplashOfARunStartedWhileAnOffWasPending) {
    RunDriver run(form.get());
    int frames_when_paused = 0;
    int frames_after_wait = -1;
    run.between(SPLASH + 2, [&] {
        form->Button2->click();
        form->Button1->click(); // a nested run, the OFF still pending: returns when it ends
    });
    run.between(SPLASH + 12, [&] { // in the nested run's splash
        form->setFramesPaused(true);
        frames_when_paused = run.frames();
        QTimer::singleShot(150, [&] {
            frames_after_wait = run.frames();
            form->setFramesPaused(false);
        });
    });
    run.between(2 * SPLASH + 10, [&] { form->Button2->click(); });
    run.between(2 * SPLASH + 20, [&] { form->Button2->click(); });
    run.click_on();
    EXPECT_EQ(frames_after_wait, frames_when_paused);
}

TEST_F(Inspector, ANewOnStartsAtNormalSpeedUnpaused) {
    form->setSpeed(16.0);
    form->setFramesPaused(true);
    RunDriver run(form.get());
    double speed_in_run = 0;
    bool paused_in_run = true;
    run.between(SPLASH + 1, [&] {
        speed_in_run = form->session().time().speed();
        paused_in_run = form->session().time().paused();
        form->Button2->click();
    });
    run.click_on();
    EXPECT_EQ(speed_in_run, 1.0);
    EXPECT_FALSE(paused_in_run);
}

} // namespace

namespace {

TEST_F(Inspector, SixteenTimesBringsTheMinutesInactivityReturnInUnderFourSeconds) {
    form->setFramePacing(true); // real time, as at the window
    form->TrackBar1->setValue(1500);
    RunDriver run(form.get());
    QElapsedTimer clock;
    qint64 took_ms = -1;
    run.between(SPLASH + 1, [&] {
        click(form->Image5); // the menu: a minute from now the panel goes home
        form->setSpeed(16.0);
        clock.start();
    });
    run.on_painted = [&](int frame) {
        if (frame > SPLASH + 3 && took_ms < 0 && active_screen == screen_main) {
            took_ms = clock.elapsed();
            power_off_request = 1;
        }
    };
    run.click_on(200000);
    // 58 to 60 s of instrument time in 3.6 to 3.75 s; a busy machine may lag behind the
    // schedule, never run ahead of it.
    EXPECT_GT(took_ms, 3500);
    EXPECT_LT(took_ms, 8000);
    std::printf("inactivity return at x16 after %lld ms\n", static_cast<long long>(took_ms));
}

} // namespace
