// The start-up splash, frame by frame, compared with what the text routines draw.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "firmware/lcd/text.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/splash.h"
#include "firmware/monitor/state.h"

namespace {

using frame = std::array<uint8_t, LCD_BUFFER_SIZE>;

frame snapshot() {
    frame f;
    std::memcpy(f.data(), lcd_buffer, LCD_BUFFER_SIZE);
    return f;
}

// Where frame n (1..80) shows the two names, as columns compared signed.
int expected_maker_x(int n) {
    return std::max(10, 116 - 2 * n);
}
int expected_model_x(int n) {
    return n <= 14 ? -20 : std::min(58, 2 * n - 48);
}

// What the text routines draw for a splash frame with the names at these columns.
frame expected_frame(int maker_x, int model_x, bool calibrate, uint8_t lang) {
    lcd_clear();
    lcd_text(static_cast<uint8_t>(maker_x), 5, "BRASKETHOLME", 1, 1, 0);
    lcd_text_centred(static_cast<uint8_t>(model_x), 28, "TXM-9", 1, 1, 0);
    if (calibrate) {
        lcd_small_text_centred(44, 46, lang == 0 ? "CALIBRATE" : "CALIB", 100);
    }
    lcd_small_text_centred(57, 56, splash_web_address, 100);
    lcd_small_text(85, 40, "1.05", 100);
    return snapshot();
}

std::string dump(const frame& f) {
    std::string out;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            out += (f[(y / 8) * LCD_WIDTH + x] & pixel_bit_mask[y % 8]) != 0 ? '#' : '.';
        }
        out += '\n';
    }
    return out;
}

struct played_frame {
    int maker_x; // as drawn, signed
    int model_x;
    frame picture;
};

std::vector<played_frame> play_all(uint8_t calibrate, uint8_t lang) {
    calibrate_enabled = calibrate;
    language = lang;
    std::vector<played_frame> frames;
    splash_motion motion;
    for (int n = 1; n <= SPLASH_FRAMES; ++n) {
        const int maker_x = static_cast<int8_t>(motion.maker_x);
        const int model_x = static_cast<int8_t>(motion.model_x);
        splash_draw_frame(motion);
        frames.push_back({maker_x, model_x, snapshot()});
    }
    return frames;
}

bool lit(const frame& f, int x, int y) {
    return (f[(y / 8) * LCD_WIDTH + x] & pixel_bit_mask[y % 8]) != 0;
}

TEST(Splash, NamesSlideInFrameByFrame) {
    const auto frames = play_all(0, 0);
    ASSERT_EQ(frames.size(), 80u);
    for (int n = 1; n <= 80; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        EXPECT_EQ(frames[n - 1].maker_x, expected_maker_x(n));
        EXPECT_EQ(frames[n - 1].model_x, expected_model_x(n));
    }
    EXPECT_EQ(frames[0].maker_x, 114) << "frame 1: maker name not yet in sight";
    EXPECT_EQ(frames[14].model_x, -18) << "frame 15: the model name has started to move";
    EXPECT_EQ(frames[52].model_x, 58) << "the model name stops on the first even column >= 57";
}

TEST(Splash, EachFrameIsWhatTheTextRoutinesDraw) {
    const auto frames = play_all(0, 0);
    for (int n = 1; n <= 80; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        const frame expected = expected_frame(expected_maker_x(n), expected_model_x(n), false, 0);
        EXPECT_EQ(frames[n - 1].picture, expected) << "expected:\n"
                                                   << dump(expected) << "drawn:\n"
                                                   << dump(frames[n - 1].picture);
    }
}

TEST(Splash, NamesEnterOnlyAtTheEdges) {
    const auto frames = play_all(0, 0);
    // Frame 2: only the maker name's first two font columns, at columns 112 and 113.
    for (int y = 5; y <= 20; ++y) {
        for (int x = 0; x < 112; ++x) {
            EXPECT_FALSE(lit(frames[1].picture, x, y)) << "frame 2 lit at " << x << "," << y;
        }
    }
    // Frame 15: only the model name's last two font columns, at columns 0 and 1.
    // The version number stands at (85, 40), in the model name's lower rows.
    for (int y = 28; y <= 43; ++y) {
        for (int x = 2; x < (y < 40 ? LCD_WIDTH : 85); ++x) {
            EXPECT_FALSE(lit(frames[14].picture, x, y)) << "frame 15 lit at " << x << "," << y;
        }
    }
}

TEST(Splash, PictureStandsStillFromFrame53) {
    const auto frames = play_all(0, 0);
    for (int n = 54; n <= 80; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        EXPECT_EQ(frames[n - 1].picture, frames[52].picture);
    }
}

TEST(Splash, CalibrateTextInTheLanguageInForce) {
    for (uint8_t lang : {uint8_t{0}, uint8_t{1}}) {
        SCOPED_TRACE(lang == 0 ? "English" : "French");
        const auto frames = play_all(1, lang);
        const frame expected = expected_frame(10, 58, true, lang);
        EXPECT_EQ(frames[79].picture, expected) << "expected:\n"
                                                << dump(expected) << "drawn:\n"
                                                << dump(frames[79].picture);
    }
    language = 0;
    calibrate_enabled = 0;
}

TEST(Splash, KnobPressUnlocksCalibrationAndEveryKeyIsUsedUp) {
    struct key_case {
        uint8_t key;
        uint8_t unlocked;
    };
    const key_case cases[] = {{0, 0},       {KEY_SELECT, 1}, {KEY_CW, 0},
                              {KEY_CCW, 0}, {KEY_LEFT, 0},   {KEY_RIGHT, 0}};
    for (const key_case& c : cases) {
        SCOPED_TRACE("key " + std::to_string(c.key));
        calibrate_enabled = 0;
        pending_key = c.key;
        EXPECT_EQ(splash_take_keys(), c.unlocked);
        EXPECT_EQ(calibrate_enabled, c.unlocked);
        EXPECT_EQ(pending_key, 0);
    }
}

} // namespace
