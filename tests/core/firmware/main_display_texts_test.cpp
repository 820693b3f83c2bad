// The main display's words, read back from the screen by the font's own glyphs: units,
// captions, the voltage page's peak, the over-range notices and the bar's scale, in both
// languages.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "screen_pass.h"

using namespace txm9;

namespace {

using namespace screen_test;

class MainDisplayTexts : public ScreenTest {
protected:
    void SetUp() override {
        open(screen_main);
        blink_phase = 1;
        volts_dv = 126;
        current_da = 25;
    }
};

TEST_F(MainDisplayTexts, UnitsBesideTheReadings) {
    show_main(0, 0);
    EXPECT_EQ(read_double_text(102, 11, 1), "V");
    EXPECT_EQ(read_double_text(102, 39, 1), "A");
    show_main(1, 0);
    EXPECT_EQ(read_double_text(106, 25, 1), "V");
    show_main(2, 1);
    EXPECT_EQ(read_double_text(102, 27, 1), "A");
}

TEST_F(MainDisplayTexts, DirectionCaptions) {
    struct {
        uint8_t lang;
        int32_t current;
        screen_text combined, amps_page; // centred on 57 (8 x 8 font) and on 67 (small font)
    } cases[] = {
        {0, 0, plain("CHARGING", 25), plain("CHARGING", 43)},
        {0, 25, plain("CHARGING", 25), plain("CHARGING", 43)},
        {0, -39, plain("DISCHARGING", 13), plain("DISCHARGING", 34)},
        {1, 25, plain("CHARGE", 33), plain("CHARGE", 49)},
        {1, -39, plain("DECHARGE", 25), plain("DECHARGE", 43)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "language " << int(c.lang) << ", " << c.current << " dA");
        language = c.lang;
        current_da = c.current;
        show_main(0, 0);
        EXPECT_EQ(find_texts(57), std::vector<screen_text>{c.combined});
        show_main(2, 1);
        EXPECT_EQ(find_text(0, text_face::small), c.amps_page);
    }
}

TEST_F(MainDisplayTexts, VoltagePageShowsThePeak) {
    struct {
        uint32_t peak;
        screen_text expected;
    } cases[] = {{126, plain("MAX: 12.6V", 16)},
                 {50, plain("MAX: 5.0V", 20)},
                 {301, plain("MAX: 30.1V", 16)},
                 {0, plain("MAX: 0.0V", 20)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.peak);
        peak_volts_dv = c.peak;
        show_main(1, 0);
        EXPECT_EQ(find_texts(50), std::vector<screen_text>{c.expected});
    }
}

TEST_F(MainDisplayTexts, OverRangeNoticesInBothLanguages) {
    struct {
        uint8_t lang;
        screen_text one_line, upper, lower;
    } cases[] = {
        {0, plain("OVERRANGE", 28), plain("OVER", 51), plain("RANGE", 47)},
        {1, plain("SURCHARGE", 28), plain("SUR", 55), plain("CHARGE", 43)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "language " << int(c.lang));
        language = c.lang;
        const auto face = text_face::double_height;

        volts_dv = 301;
        current_da = 25;
        show_main(0, 0);
        EXPECT_EQ(find_text(7, face), c.one_line) << "voltage, combined page";
        EXPECT_EQ(find_texts(35, face).size(), 0u) << "the current is in range";
        show_main(1, 0);
        EXPECT_EQ(find_text(9, face), c.upper) << "voltage page";
        EXPECT_TRUE(band_reads(25, c.lower.text, text_shade::plain, face));
        EXPECT_EQ(find_texts(25, face).front(), c.lower);

        volts_dv = 126;
        current_da = -551;
        show_main(0, 0);
        EXPECT_EQ(find_text(35, face), c.one_line) << "current, combined page";
        EXPECT_EQ(find_texts(7, face).size(), 0u) << "the voltage is in range";
        show_main(2, 1);
        EXPECT_EQ(find_text(11, face), c.upper) << "current page";
        EXPECT_EQ(find_texts(27, face).front(), c.lower);

        // The notices blink: absent on the dark half.
        blink_phase = 0;
        show_main(0, 0);
        EXPECT_EQ(find_texts(35, face).size(), 0u);
        show_main(2, 1);
        EXPECT_EQ(find_texts(11, face).size(), 0u);
        blink_phase = 1;
    }
}

TEST_F(MainDisplayTexts, BarScaleEnds) {
    struct {
        uint32_t scale;
        const char* printed; // "%3d", centred on column 102
        screen_text label;
    } cases[] = {
        {50, " 50", plain("50", 98)}, {5, "  5", plain("5", 106)}, {500, "500", plain("500", 90)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        bar_scale_amps = c.scale;
        show_main(2, 1);
        EXPECT_EQ(read_text(90, 57, 3), c.printed);
        EXPECT_EQ(find_texts(57), (std::vector<screen_text>{plain("0", 0), c.label}));
    }
}

} // namespace
