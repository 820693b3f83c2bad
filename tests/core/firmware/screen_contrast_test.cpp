// Contrast screen: the level's limits, the hook after every step, the bar inside its frame
// and the return to whoever opened the screen.
#include <gtest/gtest.h>

#include <string>

#include "engine/lcd_dump.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/screens.h"
#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class Contrast : public ScreenTest {
protected:
    void SetUp() override {
        open(screen_contrast);
        return_screen = screen_main;
    }
};

// The bar and its frame with a row above and below, for failure messages.
std::string bar_area() {
    return "\n" + lcd_dump_rows(14, 26);
}

TEST_F(Contrast, FiftySevenStepsFillTheFrameAndTheFiftyEighthStays) {
    contrast = 0;
    press_times(KEY_CW, 57);
    EXPECT_EQ(contrast, 57);
    EXPECT_EQ(hook_calls.apply_contrast, 57);
    press(KEY_CW);
    EXPECT_EQ(contrast, 57) << "the level stops at 57";
    EXPECT_EQ(hook_calls.apply_contrast, 58) << "the hook is called at the limit too";

    run_pass();
    int clear_pixels = 0;
    for (uint8_t y = 15; y <= 25; ++y) {
        for (uint8_t x = 0; x < LCD_WIDTH; ++x) {
            clear_pixels += lcd_get_pixel(x, y) == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(clear_pixels, 0) << "the bar reaches both sides of the frame:" << bar_area();
    EXPECT_EQ(lcd_get_pixel(0, 14) | lcd_get_pixel(0, 26) | lcd_get_pixel(113, 26), 0)
        << "nothing outside rows 15..25:" << bar_area();
}

TEST_F(Contrast, BarIsTwoColumnsPerLevelInsideTheFrame) {
    for (uint8_t level : {0, 1, 37, 56, 57}) {
        SCOPED_TRACE(::testing::Message() << "contrast " << int(level));
        contrast = level;
        run_pass();
        const int bar_end = 2 * level; // first column after the bar
        for (uint8_t x = 0; x < LCD_WIDTH; ++x) {
            const bool frame_side = x == 0 || x == 113;
            for (uint8_t y = 15; y <= 25; ++y) {
                const bool frame_edge = frame_side || y == 15 || y == 25;
                const uint8_t expected = (x < bar_end || frame_edge) ? 1 : 0;
                if (lcd_get_pixel(x, y) != expected) {
                    ADD_FAILURE() << "pixel (" << int(x) << ", " << int(y) << ") should be "
                                  << (expected ? "dark" : "clear") << bar_area();
                    return;
                }
            }
        }
    }
}

TEST_F(Contrast, StepKeysUseTheEditingPairsAndStopAtZero) {
    struct {
        const char* name;
        uint8_t key, from, to;
    } cases[] = {
        {"knob clockwise raises", KEY_CW, 37, 38}, {"up key raises", KEY_LEFT, 37, 38},
        {"knob back lowers", KEY_CCW, 37, 36},     {"down key lowers", KEY_RIGHT, 37, 36},
        {"knob back stops at 0", KEY_CCW, 0, 0},   {"down key stops at 0", KEY_RIGHT, 0, 0},
        {"up key stops at 57", KEY_LEFT, 57, 57},  {"knob stops at 57", KEY_CW, 57, 57},
        {"up from 56", KEY_LEFT, 56, 57},          {"down from 1", KEY_RIGHT, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        contrast = c.from;
        reset_hook_calls();
        press(c.key);
        EXPECT_EQ(contrast, c.to);
        EXPECT_EQ(hook_calls.apply_contrast, 1);
        EXPECT_EQ(active_screen, screen_contrast);
    }
}

TEST_F(Contrast, SelectReturnsAndThenCommits) {
    for (screen_routine back : {screen_main, screen_display_setup}) {
        SCOPED_TRACE(back == screen_main ? "opened from the main display"
                                         : "opened from the display setup");
        active_screen = screen_contrast;
        return_screen = back;
        menu_cursor = 0;
        reset_hook_calls();
        press(KEY_SELECT);
        EXPECT_EQ(active_screen, back);
        EXPECT_EQ(menu_cursor, 1);
        EXPECT_EQ(hook_calls.commit_settings, 1);
        EXPECT_EQ(hook_calls.screen_at_commit, back) << "committed after the switch";
        EXPECT_EQ(hook_calls.cursor_at_commit, 1);
        EXPECT_EQ(hook_calls.apply_contrast, 0);
    }
}

TEST_F(Contrast, UnknownKeysAreDiscarded) {
    for (uint8_t key : {6, 17, 255}) {
        SCOPED_TRACE(::testing::Message() << "key " << int(key));
        contrast = 20;
        press(key);
        EXPECT_EQ(pending_key, 0);
        EXPECT_EQ(contrast, 20);
        EXPECT_EQ(active_screen, screen_contrast);
    }
    EXPECT_EQ(hook_calls.apply_contrast, 0);
    EXPECT_EQ(hook_calls.commit_settings, 0);
}

// --- What the screen shows ---

TEST_F(Contrast, TitleAndHelpLinesCentredInBothLanguages) {
    const struct {
        uint8_t lang;
        screen_text title, keys, adjust, what;
    } cases[] = {
        {0, plain("CONTRAST", 25), plain("USE { } OR ~", 9), plain("TO ADJUST THE", 5),
         plain("CONTRAST", 25)},
        {1, plain("CONTRASTE", 21), plain("{ } OU ~", 25), plain("REGLAGE", 29),
         plain("CONTRASTE", 21)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lang == 0 ? "English" : "French");
        language = c.lang;
        run_pass();
        EXPECT_TRUE(band_shows(0, {c.title}));
        EXPECT_TRUE(band_shows(40, {c.keys}));
        EXPECT_TRUE(band_shows(48, {c.adjust}));
        EXPECT_TRUE(band_shows(56, {c.what}));
    }
}

} // namespace
