#include <gtest/gtest.h>

#include <string>

#include "engine/instrument_snapshot.h"
#include "engine/instrument_variables.h"
#include "engine/program_start.h"
#include "firmware/monitor/screens.h"
#include "scenario/scenario_parser.h"

using namespace txm9;

// The variables come from the firmware's one list: each is found by name, checked by a
// scenario, put back by a snapshot and cleared by program start, with nothing else to edit.
TEST(InstrumentVariables, EveryVariableOfTheListIsNamedCheckedKeptAndReset) {
    program_start_state();
    const instrument_snapshot zero;
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        const instrument_variable& v = instrument_variables[i];
        EXPECT_EQ(find_instrument_variable(v.name), &v) << v.name;
        scenario parsed;
        parse_error error;
        EXPECT_TRUE(parse_scenario("expect " + std::string(v.name) + " == 1\n", parsed, error))
            << v.name << ": " << error.message;
        v.write(1);
    }
    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        *screen_variables[i].variable = screen_menu;
    }
    const instrument_snapshot ones;
    zero.restore();
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        EXPECT_EQ(instrument_variables[i].read(), 0) << instrument_variables[i].name;
    }
    ones.restore();
    program_start_state();
    for (int i = 0; i < INSTRUMENT_VARIABLE_COUNT; ++i) {
        EXPECT_EQ(instrument_variables[i].read(), 0) << instrument_variables[i].name;
    }
    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        EXPECT_EQ(*screen_variables[i].variable, nullptr) << screen_variables[i].name;
    }
    ones.restore();
    for (int i = 0; i < SCREEN_VARIABLE_COUNT; ++i) {
        EXPECT_EQ(*screen_variables[i].variable, screen_menu) << screen_variables[i].name;
    }
    program_start_state();
}
