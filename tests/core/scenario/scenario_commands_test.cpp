// The commands' list against the manual page, and the writer against the parser.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "scenario/scenario_commands.h"
#include "scenario/scenario_parser.h"
#include "scenario/scenario_writer.h"
#include "source_tree.h"

namespace txm9 {
namespace {

// The first word of each command form the manual page's scenario section gives as an item
// (the line after .TP), with the page's markup taken off: "on [DURATION], off" gives on and off.
std::set<std::string> manual_command_words() {
    std::ifstream page(std::string(source_tree()) + "/doc/txm9-scenario.1.in");
    EXPECT_TRUE(page) << "cannot read the manual page";
    std::set<std::string> words;
    std::string line;
    bool in_section = false;
    bool item = false;
    const std::regex markup(R"(\\f[BIPR]|\\c|\\&|\\\(dq|^\.[BIR]+ |")");
    while (std::getline(page, line)) {
        if (line.starts_with(".SH")) {
            in_section = line == ".SH SCENARIO FILES";
        } else if (in_section && item) {
            std::istringstream pieces(std::regex_replace(line, markup, " "));
            for (std::string piece; std::getline(pieces, piece, ',');) {
                std::string word;
                if (std::istringstream(piece) >> word) {
                    words.insert(word);
                }
            }
        }
        item = line == ".TP";
    }
    return words;
}

TEST(ScenarioCommands, EveryCommandIsInTheManualPageAndEveryItemThereIsACommand) {
    const std::set<std::string> documented = manual_command_words();
    std::set<std::string> listed;
    for (const command_word& w : command_words) {
        listed.insert(std::string(w.word));
        EXPECT_FALSE(w.form.empty() || w.help.empty()) << w.word;
    }
    EXPECT_EQ(documented, listed);
}

TEST(ScenarioCommands, EveryWrittenCommandParsesBackToTheSameLine) {
    const char* const lines[] = {
        "on",
        "on 75 ms",
        "off",
        "press knob",
        "press left then wait 1 pass",
        "turn cw",
        "turn ccw 5 then wait 0 passes",
        "volts 2048",
        "volts 12.6 V",
        "amps -3.9 A",
        "calibrate on",
        "keyfast off",
        "wait 3 passes",
        "wait 1500 ms",
        "wait until text \"Menu\" within 2000 ms",
        "expect text \"say \\\"hi\\\"\" inverted",
        "expect no text \"ALARM\"",
        "expect screen main",
        "expect lamp unlit",
        "expect volts_dv >= 120",
        "expect frame \"a b.png\"",
        "expect fault \"stack\"",
        "screenshot shot.png",
        "screenshot shot.png scale 3",
        "print",
    };
    std::set<command_word_id> covered;
    for (const char* line : lines) {
        scenario script;
        parse_error error;
        ASSERT_TRUE(parse_scenario(line, script, error)) << line << ": " << error.message;
        EXPECT_EQ(command_text(script.commands[0]), line);
        covered.insert(word_of(script.commands[0].kind));
    }
    EXPECT_EQ(covered.size(), std::size(command_words));
}

} // namespace
} // namespace txm9
