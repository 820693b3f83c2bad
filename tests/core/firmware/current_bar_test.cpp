// The current bar: its length in 113 single-precision steps, the peak marker, the frame and
// the scale ends.
#include <gtest/gtest.h>

#include <cstdint>

#include "firmware/monitor/main_display.h"
#include "screen_pass.h"
#include "support/lcd_pixels.h"

using namespace txm9;

namespace {

using namespace screen_test;

class CurrentBar : public ScreenTest {
protected:
    void SetUp() override { open(screen_main); }
};

// Columns lit inside the bar on its middle row, well clear of a marker at column 0:
// the bar's end L is the first column after the run that starts at column 1.
int bar_end() {
    int x = 1;
    while (x < 113 && lcd_get_pixel(static_cast<uint8_t>(x), 50)) {
        ++x;
    }
    return x;
}

TEST_F(CurrentBar, LengthInSingleStepsOfTheScale) {
    struct {
        uint32_t scale;
        int32_t current;
        int expected_end;
    } cases[] = {
        {50, 0, 1},     // no bar
        {50, 2, 1},     // less than one step
        {50, 250, 56},  // half scale: columns 1..55
        {50, -250, 56}, // the magnitude counts
        {50, 500, 112}, // the step rounds above 500 / 113, so full scale falls one short
        {50, 501, 113}, // beyond full scale the inside is filled
        {50, -5000, 113}, {15, 150, 113}, // here the rounded step lands below 150 / 113
        {500, 5000, 113}, {100, 1000, 112},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "scale " << c.scale << " A, " << c.current << " dA");
        bar_scale_amps = c.scale;
        current_da = c.current;
        lcd_clear();
        draw_current_bar(0);
        EXPECT_EQ(bar_end(), c.expected_end);
        for (int y = 48; y <= 53; ++y) {
            EXPECT_EQ(lcd_count_set(1, y, 112, y), c.expected_end - 1) << "row " << y;
        }
        EXPECT_EQ(lcd_count_set(1, 47, 112, 47), 0) << "a light row under the frame's top";
        EXPECT_EQ(lcd_count_set(1, 54, 112, 54), 0) << "a light row above the frame's bottom";
    }
}

TEST_F(CurrentBar, FrameAndScaleEnds) {
    current_da = 0;
    draw_current_bar(0);
    EXPECT_EQ(lcd_count_set(0, 46, 113, 46), 114) << "top edge";
    EXPECT_EQ(lcd_count_set(0, 55, 113, 55), 114) << "bottom edge";
    EXPECT_EQ(lcd_ink_box(113, 40, 113, 56).top, 43) << "right scale end from row 43";
    EXPECT_EQ(lcd_ink_box(113, 40, 113, 56).bottom, 55);
    EXPECT_EQ(lcd_count_set(113, 43, 113, 55), 13);
    EXPECT_EQ(lcd_ink_box(0, 40, 0, 56).top, 43) << "left scale end and the peak marker";
    EXPECT_EQ(lcd_count_set(0, 43, 0, 55), 13);
}

TEST_F(CurrentBar, PeakMarkerWithItsTriangle) {
    struct {
        int32_t peak;
        int column;
    } cases[] = {{250, 56}, {0, 0}, {2, 0}, {499, 112}, {501, 113}, {2000000000, 113}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "peak " << c.peak << " dA");
        bar_scale_amps = 50;
        current_da = 0;
        lcd_clear();
        draw_current_bar(c.peak);
        const InkBox line = lcd_ink_box(c.column, 40, c.column, 56);
        EXPECT_EQ(line, (InkBox{false, c.column, 43, c.column, 55}));
        // Triangle rows, left of column 0 and right of column 113 dropped, never wrapped.
        for (int x = 0; x <= 113; ++x) {
            const int d = x - c.column;
            SCOPED_TRACE(::testing::Message() << "column " << x);
            const bool scale_end = x == 0 || x == 113;
            EXPECT_EQ(lcd_get_pixel(x, 43) == 1, (d >= -2 && d <= 2) || scale_end);
            EXPECT_EQ(lcd_get_pixel(x, 44) == 1, (d >= -1 && d <= 1) || scale_end);
            EXPECT_EQ(lcd_get_pixel(x, 45) == 1, d == 0 || scale_end);
        }
        // With no bar the marker line is dark right through the inside.
        EXPECT_EQ(lcd_count_set(1, 50, 112, 50), c.column >= 1 && c.column <= 112 ? 1 : 0);
    }
}

TEST_F(CurrentBar, MarkerShowsAsAGapInsideTheBar) {
    bar_scale_amps = 50;
    current_da = 500; // bar over columns 1..111
    draw_current_bar(250);
    for (int y = 48; y <= 53; ++y) {
        SCOPED_TRACE(::testing::Message() << "row " << y);
        EXPECT_EQ(lcd_get_pixel(55, y), 1);
        EXPECT_EQ(lcd_get_pixel(56, y), 0) << "the toggled bar cuts the marker line";
        EXPECT_EQ(lcd_get_pixel(57, y), 1);
    }
    EXPECT_EQ(lcd_get_pixel(56, 47), 1) << "outside the bar the marker line stays dark";
    EXPECT_EQ(lcd_get_pixel(56, 54), 1);
}

TEST_F(CurrentBar, CurrentPageMarksThePeakOfThePresentDirection) {
    display_mode = 2;
    amps_page = 1;
    active_screen = screen_main;
    bar_scale_amps = 50;
    peak_charge_da = 250;
    peak_discharge_da = -125;

    current_da = 10;
    lcd_clear();
    screen_main();
    EXPECT_EQ(lcd_ink_box(56, 40, 56, 56).top, 43) << "charging: the charge peak at column 56";
    EXPECT_EQ(lcd_get_pixel(28, 43), 0);

    current_da = -10;
    lcd_clear();
    screen_main();
    EXPECT_EQ(lcd_ink_box(28, 40, 28, 56).top, 43) << "discharging: the discharge peak";
    EXPECT_EQ(lcd_get_pixel(56, 43), 0);

    // A saturated discharge peak puts the marker at the end of the scale.
    peak_discharge_da = INT32_MIN;
    current_da = INT32_MIN;
    lcd_clear();
    screen_main();
    EXPECT_EQ(lcd_count_set(112, 43, 112, 44), 2) << "the triangle at the right end";
    EXPECT_EQ(bar_end(), 113);
}

} // namespace
