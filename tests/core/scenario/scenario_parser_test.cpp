// The scenario language: what parses into which command, and every mistake with its line,
// column and message.
#include <gtest/gtest.h>

#include <string>

#include "firmware/monitor/keys.h"
#include "scenario/scenario_parser.h"

using namespace txm9;

namespace {

scenario parsed(const std::string& text) {
    scenario s;
    parse_error error;
    EXPECT_TRUE(parse_scenario(text, s, error))
        << text << " -> " << error.place.line << ":" << error.place.column << ": " << error.message;
    return s;
}

} // namespace

TEST(ScenarioParser, CommandsAndTheirArguments) {
    const scenario s = parsed("# a comment\n"
                              "ON\n"
                              "  press Knob   # trailing comment\n"
                              "turn ccw 3\n"
                              "volts 12.6 V\n"
                              "amps -3.9A\n"
                              "amps 2048\n"
                              "wait 1.5 s\n"
                              "wait 10 passes\n"
                              "wait until text \"SAY \\\"HI\\\" \\\\\" within 2 min\n"
                              "expect no text \"OVER\"\n"
                              "expect text \"LANG: FRANCAIS\" inverted\n"
                              "expect volts_dv >= 126\n"
                              "screenshot out/a.png scale 4\n"
                              "on 500ms\n");
    ASSERT_EQ(s.commands.size(), 14u);
    const command& press = s.commands[1];
    EXPECT_EQ(press.kind, command_kind::press);
    EXPECT_EQ(press.key, KEY_SELECT);
    EXPECT_EQ(press.place.line, 3);
    EXPECT_EQ(press.place.column, 3);
    EXPECT_EQ(s.commands[2].key, KEY_CCW);
    EXPECT_EQ(s.commands[2].count, 3u);
    EXPECT_TRUE(s.commands[3].has_value);
    EXPECT_EQ(s.commands[3].value, 126);
    EXPECT_EQ(s.commands[4].value, -39);
    EXPECT_FALSE(s.commands[5].has_value);
    EXPECT_EQ(s.commands[5].count, 2048u);
    EXPECT_EQ(s.commands[6].time.amount, 1500u);
    EXPECT_TRUE(s.commands[7].time.in_passes);
    EXPECT_EQ(s.commands[8].text, "SAY \"HI\" \\");
    EXPECT_EQ(s.commands[8].time.amount, 120000u);
    EXPECT_TRUE(s.commands[9].negated);
    EXPECT_TRUE(s.commands[10].flag);
    EXPECT_EQ(s.commands[11].op, comparison::greater_equal);
    EXPECT_EQ(s.commands[12].count, 4u);
    EXPECT_EQ(s.commands[13].time.amount, 500u);
}

TEST(ScenarioParser, MistakesNameLineColumnAndWhat) {
    const struct {
        const char* text;
        int line, column;
        const char* message;
    } cases[] = {
        {"on\nfly away", 2, 1, "unknown command 'fly'"},
        {"press elbow", 1, 7, "expected knob, left or right, found 'elbow'"},
        {"expect text \"OPEN", 1, 13, "missing closing quote"},
        {"expect text \"A\\n\"", 1, 15, "unknown escape"},
        {"volts 5000", 1, 7, "count 5000 out of range 0..4096"},
        {"volts 12.65 V", 1, 7, "more than one decimal"},
        {"amps 3 V", 1, 6, "unknown unit 'V'"},
        // A mistake quotes the word as the user wrote it, though words are compared in lower case.
        {"Turn Left", 1, 6, "found 'Left'"},
        {"expect screen Lobby", 1, 15, "unknown screen 'Lobby'"},
        {"wait 3 Hours", 1, 6, "unknown unit 'Hours'"},
        {"wait 3Hours", 1, 6, "unknown unit 'Hours'"},
        // A shared scenario writes nothing outside the folder its player chose.
        {"screenshot /home/me/photo.png", 1, 12,
         "'/home/me/photo.png' cannot be: it is an absolute"},
        {"screenshot ../deep/new/x.png", 1, 12, "cannot be: it climbs out of it with '..'"},
        {"screenshot a/../../x.png scale 2", 1, 12, "climbs out"},
        {"wait 3", 1, 7, "expected a unit"},
        {"wait 2 hours", 1, 6, "unknown unit 'hours'"},
        {"wait 0.0005 s", 1, 6, "not a whole number of milliseconds"},
        {"wait 25 h", 1, 6, "unknown unit 'h'"},
        {"wait 2000 min", 1, 6, "at most 24 h"},
        {"turn cw 0", 1, 9, "turns 0 out of range 1..1000"},
        {"expect screen lobby", 1, 15, "unknown screen 'lobby'"},
        {"expect voltage == 3", 1, 8, "cannot expect 'voltage'"},
        {"expect volts_dv => 3", 1, 17, "expected a comparison"},
        {"expect frame ref.jpg", 1, 14, "ending in .png"},
        {"calibrate maybe", 1, 11, "expected on or off"},
        {"off now", 1, 5, "unexpected 'now' at the end"},
        {"expect", 1, 7, "expected what to expect here"},
        {"wait until text \"\"", 1, 17, "found an empty text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        scenario s;
        parse_error error;
        ASSERT_FALSE(parse_scenario(c.text, s, error));
        EXPECT_EQ(error.place.line, c.line);
        EXPECT_EQ(error.place.column, c.column);
        EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
    }
}

TEST(ScenarioParser, NamesThatStayInsideTheirFolderAndReferencesFromAnywhereAreTaken) {
    const scenario s = parsed("screenshot shots/../main.png\n"
                              "screenshot ./a/b/c.png\n"
                              "expect frame ../refs/main.png\n"
                              "expect frame /srv/refs/main.png\n");
    ASSERT_EQ(s.commands.size(), 4u);
    EXPECT_EQ(s.commands[2].path, "../refs/main.png");
    EXPECT_EQ(s.commands[2].path_column, 14);
}
