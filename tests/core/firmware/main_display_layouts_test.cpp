// The main display's three layouts, element by element: each reading compared pixel for
// pixel with the same numerals or text drawn alone at the place the layout gives it, over
// range, integer style and blinking included.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "firmware/lcd/icons.h"
#include "firmware/lcd/numerals.h"
#include "firmware/lcd/text.h"
#include "screen_pass.h"
#include "support/lcd_pixels.h"

using namespace txm9;

namespace {

using namespace screen_test;

class MainDisplayLayouts : public ScreenTest {
protected:
    void SetUp() override {
        open(screen_main);
        blink_phase = 1;
    }
};

using drawing = std::function<void()>;
const drawing nothing = [] {};

drawing medium(uint8_t x, uint8_t y, const char* text) {
    return [=] { lcd_digits_medium(x, y, text); };
}
drawing large(uint8_t x, uint8_t y, const char* text) {
    return [=] { lcd_digits_large(x, y, text); };
}
drawing double_height_centred(uint8_t x, uint8_t y, const char* text) {
    return [=] { lcd_text_centred(x, y, text, 1, 1, 0); };
}
drawing two_lines(uint8_t x, uint8_t y0, const char* upper, uint8_t y1, const char* lower) {
    return [=] {
        lcd_text_centred(x, y0, upper, 1, 1, 0);
        lcd_text_centred(x, y1, lower, 1, 1, 0);
    };
}

struct reading_case {
    const char* name;
    uint32_t volts;
    uint8_t alarm, blink;
    drawing expected;
};

// Layout A's voltage band: columns 24..100, rows 0..27 hold the voltage or its notice only.
TEST_F(MainDisplayLayouts, CombinedPageVoltage) {
    const reading_case cases[] = {
        {"12.6 V", 126, 0, 1, medium(29, 2, "12.6")},
        {"30.0 V is in range", 300, 0, 1, medium(29, 2, "30.0")},
        {"5.0 V after a blank", 50, 0, 0, medium(29, 2, " 5.0")},
        {"30.1 V over range, blink on", 301, 0, 1, double_height_centred(64, 7, "OVERRANGE")},
        {"30.1 V over range, blink off", 301, 0, 0, nothing},
        {"alarm, blink on", 126, 1, 1, medium(29, 2, "12.6")},
        {"alarm, blink off", 126, 1, 0, nothing},
        {"no alarm, blink off: steady", 126, 0, 0, medium(29, 2, "12.6")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        volts_dv = c.volts;
        volt_alarm = c.alarm;
        alarm_ack = 1;
        blink_phase = c.blink;
        show_main(0, 0);
        EXPECT_TRUE(lcd_region_shows_exactly(lcd_drawn_alone(c.expected), 24, 0, 100, 27));
    }
}

// Layout B's voltage band: columns 22..104, rows 8..44.
TEST_F(MainDisplayLayouts, VoltagePageVoltage) {
    const reading_case cases[] = {
        {"12.6 V", 126, 0, 1, large(25, 9, "12.6")},
        {"30.0 V", 300, 0, 0, large(25, 9, "30.0")},
        {"5.0 V", 50, 0, 1, large(25, 9, " 5.0")},
        {"over range, blink on", 301, 0, 1, two_lines(67, 9, "OVER", 25, "RANGE")},
        {"over range, blink off", 301, 0, 0, nothing},
        {"alarm, blink on", 126, 1, 1, large(25, 9, "12.6")},
        {"alarm, blink off", 126, 1, 0, nothing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        volts_dv = c.volts;
        volt_alarm = c.alarm;
        alarm_ack = 0;
        blink_phase = c.blink;
        show_main(1, 0);
        EXPECT_TRUE(lcd_region_shows_exactly(lcd_drawn_alone(c.expected), 22, 8, 104, 44));
    }
}

struct current_case {
    const char* name;
    uint32_t shunt;
    int32_t current;
    uint8_t blink;
    drawing combined, amps_page;
};

const current_case current_cases[] = {
    {"9.9 A", 50, 99, 1, medium(29, 30, " 9.9"), large(35, 11, "9.9")},
    {"10.0 A in whole amps", 50, 100, 1, medium(41, 30, " 10"), large(30, 11, " 10")},
    {"10.5 A truncated", 50, 105, 0, medium(41, 30, " 10"), large(30, 11, " 10")},
    {"-3.9 A as its magnitude", 50, -39, 1, medium(29, 30, " 3.9"), large(35, 11, "3.9")},
    {"0.0 A", 50, 0, 0, medium(29, 30, " 0.0"), large(35, 11, "0.0")},
    {"55.0 A at 110 %", 50, 550, 1, medium(41, 30, " 55"), large(30, 11, " 55")},
    {"-55.0 A at 110 %", 50, -550, 0, medium(41, 30, " 55"), large(30, 11, " 55")},
    {"55.1 A over range, blink on", 50, 551, 1, double_height_centred(64, 35, "OVERRANGE"),
     two_lines(67, 11, "OVER", 27, "RANGE")},
    {"-55.1 A over range, blink on", 50, -551, 1, double_height_centred(64, 35, "OVERRANGE"),
     two_lines(67, 11, "OVER", 27, "RANGE")},
    {"55.1 A over range, blink off", 50, 551, 0, nothing, nothing},
    {"150 A shunt: 5.0 A in whole amps", 150, 50, 1, medium(41, 30, "  5"), large(30, 11, "  5")},
    {"150 A shunt: 0.5 A", 150, 5, 1, medium(41, 30, "  0"), large(30, 11, "  0")},
    {"100 A shunt keeps the tenth", 100, 5, 1, medium(29, 30, " 0.5"), large(35, 11, "0.5")},
};

// Every current case on one page: the current's band against its expected drawing alone.
void expect_current_band(uint8_t mode, uint8_t page, drawing current_case::*expected, int x0,
                         int y0, int x1, int y1) {
    for (const auto& c : current_cases) {
        SCOPED_TRACE(c.name);
        shunt_amps = c.shunt;
        current_da = c.current;
        blink_phase = c.blink;
        show_main(mode, page);
        EXPECT_TRUE(lcd_region_shows_exactly(lcd_drawn_alone(c.*expected), x0, y0, x1, y1));
    }
}

// Layout A's current band: columns 24..100, rows 28..55.
TEST_F(MainDisplayLayouts, CombinedPageCurrent) {
    expect_current_band(0, 0, &current_case::combined, 24, 28, 100, 55);
}

// Layout C's current band: columns 22..100, rows 11..42.
TEST_F(MainDisplayLayouts, CurrentPageCurrent) {
    expect_current_band(2, 1, &current_case::amps_page, 22, 11, 100, 42);
}

// Each layout draws its battery first; nothing else reaches the columns compared here.
TEST_F(MainDisplayLayouts, EachLayoutShowsItsBattery) {
    struct {
        const char* name;
        uint8_t mode, page, icon;
        int first_page, last_page, last_column;
    } cases[] = {
        {"combined page, large cell", 0, 0, 8, 3, 6, 28},
        {"voltage page, small cell", 1, 0, 9, 1, 4, 24},
        {"current page, small cell", 2, 1, 6, 2, 4, 28},
    };
    volts_dv = 126;
    current_da = -39;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        show_main(c.mode, c.page);
        const PixelSet alone = lcd_drawn_alone([&] { lcd_icon(c.icon); });
        EXPECT_TRUE(lcd_region_shows_exactly(alone, 0, 8 * c.first_page, c.last_column,
                                             8 * c.last_page + 7));
    }
}

// The whole screen, pixel for pixel, against the layout's elements drawn in their order.
TEST_F(MainDisplayLayouts, WholeScreensAreExactlyTheirElements) {
    volts_dv = 126;
    peak_volts_dv = 131;
    peak_charge_da = 310;
    peak_discharge_da = -125;
    blink_phase = 1;

    current_da = 25;
    show_main(0, 0);
    EXPECT_TRUE(lcd_shows_exactly(lcd_drawn_alone([] {
        lcd_icon(8);
        lcd_digits_medium(29, 2, "12.6");
        lcd_text(102, 11, "V", 1, 1, 0);
        lcd_digits_medium(29, 30, " 2.5");
        lcd_text(102, 39, "A", 1, 1, 0);
        lcd_text_centred(57, 57, "CHARGING", 0, 1, 0);
        lcd_fill(12, 4, 17, 14, 1);
        for (int i = 0; i < 5; ++i) {
            lcd_line(9 + i, 15 + i, 19 - i, 15 + i, 1);
        }
        lcd_put_pixel(14, 20, 1);
    }))) << "combined page";

    show_main(1, 0);
    EXPECT_TRUE(lcd_shows_exactly(lcd_drawn_alone([] {
        lcd_icon(9);
        lcd_text_centred(56, 50, "MAX: 13.1V", 0, 1, 0);
        lcd_digits_large(25, 9, "12.6");
        lcd_text(106, 25, "V", 1, 1, 0);
    }))) << "voltage page";

    current_da = -115; // 11.5 A: whole amps; bar end 25, discharge peak marker at 28
    show_main(2, 1);
    EXPECT_TRUE(lcd_shows_exactly(lcd_drawn_alone([] {
        lcd_icon(6);
        lcd_digits_large(30, 11, " 11");
        lcd_fill(12, 1, 15, 10, 1);
        lcd_put_pixel(13, 0, 1);
        lcd_line(11, 2, 15, 2, 1);
        lcd_line(10, 3, 16, 3, 1);
        lcd_small_text_centred(67, 0, "DISCHARGING", 100);
        lcd_text(102, 27, "A", 1, 1, 0);
        lcd_frame(0, 46, 113, 55, 1);
        lcd_line(28, 45, 28, 54, 1);
        lcd_line(26, 43, 30, 43, 1);
        lcd_line(27, 44, 29, 44, 1);
        lcd_put_pixel(28, 45, 1);
        lcd_line(0, 43, 0, 46, 1);
        lcd_text(0, 57, "0", 0, 1, 0);
        lcd_line(113, 43, 113, 46, 1);
        lcd_text_centred(102, 57, " 50", 0, 1, 0);
        lcd_fill(1, 48, 25, 53, 2);
    }))) << "current page";
}

} // namespace
