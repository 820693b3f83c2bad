// The start-up splash as the window plays it: its frames, and the knob that unlocks
// calibration.
#include <array>
#include <cstring>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/splash.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"

using namespace txm9;

namespace {

using frame = std::array<uint8_t, LCD_BUFFER_SIZE>;
using SplashWindow = FrontPanel;

frame snapshot() {
    frame f;
    std::memcpy(f.data(), lcd_buffer, LCD_BUFFER_SIZE);
    return f;
}

// What the text routines draw for splash frame n (1..80).
frame expected_frame(int n, bool calibrate) {
    const int maker_x = std::max(10, 116 - 2 * n);
    const int model_x = n <= 14 ? -20 : std::min(58, 2 * n - 48);
    const frame saved = snapshot();
    lcd_clear();
    lcd_text(static_cast<uint8_t>(maker_x), 5, "BRASKETHOLME", 1, 1, 0);
    lcd_text_centred(static_cast<uint8_t>(model_x), 28, "TXM-9", 1, 1, 0);
    if (calibrate) {
        lcd_small_text_centred(44, 46, "CALIBRATE", 100);
    }
    lcd_small_text_centred(57, 56, splash_web_address, 100);
    lcd_small_text(85, 40, "1.05", 100);
    const frame drawn = snapshot();
    std::memcpy(lcd_buffer, saved.data(), LCD_BUFFER_SIZE);
    return drawn;
}

struct splash_record {
    std::vector<frame> frames{frame{}};
    std::vector<bool> ticked{false};
    std::vector<uint8_t> calibrate{0};
    std::vector<uint8_t> key{0};
    std::vector<bool> picture_visible{false};
};

// Plays the splash and a few passes, recording frames 1..85; `during` adds actions.
splash_record play(TForm1& form, const std::function<void(RunDriver&)>& during) {
    splash_record r;
    RunDriver run(&form);
    run.on_painted = [&](int n) {
        if (n <= 85) {
            r.frames.push_back(snapshot());
            r.ticked.push_back(form.CheckBox2->isChecked());
            r.calibrate.push_back(calibrate_enabled);
            r.key.push_back(pending_key);
            r.picture_visible.push_back(form.Image1->isVisible());
        }
    };
    during(run);
    run.between(85, [&] { click(form.Button2); });
    run.click_on();
    return r;
}

TEST_F(SplashWindow, EightyFramesAsTheTextRoutinesDrawThem) {
    const splash_record r = play(*form, [](RunDriver&) {});
    ASSERT_EQ(r.frames.size(), 86u);
    for (int n = 1; n <= 80; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        EXPECT_EQ(r.frames[n], expected_frame(n, false));
        EXPECT_TRUE(r.picture_visible[n]) << "the splash paints with the picture shown";
    }
    for (int n = 54; n <= 80; ++n) {
        EXPECT_EQ(r.frames[n], r.frames[53]) << "frame " << n << " differs from frame 53";
    }
    EXPECT_FALSE(form->CheckBox2->isChecked());
}

TEST_F(SplashWindow, KnobPressUnlocksCalibrationFromTheNextFrame) {
    const splash_record r =
        play(*form, [&](RunDriver& run) { run.between(30, [&] { click(form->Image5); }); });
    for (int n = 1; n <= 80; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        EXPECT_EQ(r.frames[n], expected_frame(n, n > 30));
        EXPECT_EQ(r.ticked[n], n > 30);
        EXPECT_EQ(r.calibrate[n], n > 30 ? 1 : 0);
        EXPECT_EQ(r.key[n], 0) << "every key is used up by its frame";
    }
    EXPECT_EQ(r.calibrate[82], 1) << "the ticked box keeps calibration unlocked";
    EXPECT_EQ(idle_countdown, 30);
}

TEST_F(SplashWindow, OtherKeysOnlyEmptyTheSlot) {
    const splash_record r = play(*form, [&](RunDriver& run) {
        run.between(20, [&] { click(form->Image3); });
        run.between(40, [&] { click(form->BitBtn1); });
    });
    for (int n : {21, 41}) {
        SCOPED_TRACE("frame " + std::to_string(n));
        EXPECT_EQ(r.key[n], 0);
        EXPECT_FALSE(r.ticked[n]);
        EXPECT_EQ(r.calibrate[n], 0);
    }
}

TEST_F(SplashWindow, KnobPressInTheLastFrameStillTicksCalibrate) {
    const splash_record r =
        play(*form, [&](RunDriver& run) { run.between(80, [&] { click(form->Image5); }); });
    EXPECT_FALSE(r.ticked[80]);
    EXPECT_TRUE(r.ticked[81]);
    EXPECT_EQ(r.calibrate[81], 1);
}

TEST_F(SplashWindow, CalibrateTickedBeforeOnShowsNoTextButUnlocksFromTheFirstPass) {
    form->CheckBox2->setChecked(true);
    const splash_record r = play(*form, [](RunDriver&) {});
    for (int n = 1; n <= 80; ++n) {
        EXPECT_EQ(r.calibrate[n], 0) << "frame " << n;
    }
    EXPECT_EQ(r.calibrate[81], 1);
}

} // namespace
