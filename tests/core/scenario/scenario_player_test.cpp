// Playing scenarios: a failure names its line and shows what the display reads, the
// instrument's own fault ends a run as the window's does, and the next ON starts afresh.
#include <gtest/gtest.h>

#include <string>

#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

scenario_outcome play(const std::string& text) {
    player_options options;
    options.files = false;
    return play_scenario_text(text, "test.scenario", options);
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(ScenarioPlayer, AFailedExpectationNamesItsLineAndShowsTheDisplay) {
    const scenario_outcome o = play("volts 12.6 V\non\nexpect text \"99.9\"\n");
    EXPECT_EQ(o.status, outcome_status::failed);
    EXPECT_TRUE(contains(o.message, "test.scenario:3: expected text \"99.9\"")) << o.message;
    EXPECT_TRUE(contains(o.message, "12.6")) << o.message; // what it reads instead
    EXPECT_TRUE(contains(o.message, "#")) << o.message;    // the display as text art
}

TEST(ScenarioPlayer, KeysTravelAndTimePassesOnInstrumentTime) {
    const scenario_outcome o = play("volts 1500\n" // inside the alarm window
                                    "on\n"
                                    "expect screen main\n"
                                    "press right\n"
                                    "expect screen contrast\n"
                                    "expect text \"CONTRAST\"\n"
                                    "turn cw 3\n"
                                    "wait 1 min\n"
                                    "expect screen main\n"
                                    "off\n"
                                    "expect lamp unlit\n");
    EXPECT_EQ(o.status, outcome_status::passed) << o.message;
    // The splash, the first pass, two passes per key, three turns and one, a minute.
    EXPECT_EQ(o.passes, 1u + 2u + 4u + 2400u);
    EXPECT_EQ(o.instrument_ms, 25u * (80u + o.passes));
}

TEST(ScenarioPlayer, TheZeroWidthCalibrationFaultEndsTheRunAndTheNextOnStartsAfresh) {
    const scenario_outcome o = play("calibrate on\n"
                                    "volts 1500\n"
                                    "amps 1000\n"
                                    "on\n"
                                    "wait 1 s\n"
                                    "press knob\n" // the menu
                                    "turn cw 4\n"  // its calibration item
                                    "press knob\n" // the calibration list
                                    "turn cw 2\n"  // the zero point's row
                                    "press knob\n" // taken: DONE
                                    "press knob\n" // back to the list
                                    "turn cw\n"    // the charge point's row
                                    "press knob\n" // taken at the same count
                                    "expect fault \"Floating point division by zero\"\n"
                                    "expect lamp unlit\n"
                                    "on\n"
                                    "expect screen main\n"
                                    "expect cal_charge_adc == 248\n");
    EXPECT_EQ(o.status, outcome_status::passed) << o.message;
    ASSERT_EQ(o.notices.size(), 1u);
    EXPECT_TRUE(contains(o.notices[0], "test.scenario:13: the run ended")) << o.notices[0];
}

TEST(ScenarioPlayer, KeepingGoingCountsEveryFailedExpectationAndPlaysToTheEnd) {
    player_options options;
    options.files = false;
    options.keep_going = true; // as a demonstration on the window plays
    const scenario_outcome o = play_scenario_text("volts 1500\n"
                                                  "on\n"
                                                  "expect screen menu\n" // fails
                                                  "press knob\n"
                                                  "expect screen menu\n"
                                                  "expect text \"ZZZ\"\n" // fails
                                                  "wait until text \"QQQ\" within 100 ms\n"
                                                  "expect screen menu\n",
                                                  "test.scenario", options);
    EXPECT_EQ(o.status, outcome_status::failed);
    EXPECT_EQ(o.expectations, 5);
    EXPECT_EQ(o.failed, 3);
    EXPECT_TRUE(contains(o.message, "test.scenario:3: expected screen menu")) << o.message;
    EXPECT_EQ(o.passes, 1u + 2u + 4u); // the first pass, the key, the text waited for
}
