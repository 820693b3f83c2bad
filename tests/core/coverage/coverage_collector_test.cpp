// Coverage gathered while small scenarios play: exactly the items each one reaches, each at
// the line that first reached it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "coverage/coverage_catalogue.h"
#include "coverage/coverage_collector.h"
#include "coverage/coverage_report.h"
#include "firmware/monitor/list_rows.h"
#include "firmware/monitor/screens.h"
#include "firmware/monitor/texts.h"
#include "scenario/scenario_player.h"

using namespace txm9;

namespace {

// The reached items whose id starts with `prefix`, with the line that first reached each.
std::map<std::string, int> reached(const std::string& text, const std::string& prefix) {
    coverage_collector collector;
    collector.add_file("t.scenario", text);
    player_options options;
    options.files = false;
    options.observer = &collector;
    const scenario_outcome outcome = play_scenario_text(text, "t.scenario", options);
    EXPECT_EQ(outcome.status, outcome_status::passed) << outcome.message;
    std::map<std::string, int> found;
    for (const coverage_item& item : coverage_items(collector.data())) {
        if (item.first.reached() && item.id.rfind(prefix, 0) == 0) {
            found[item.id] = item.first.line;
        }
    }
    return found;
}

struct case_t {
    const char* name;
    const char* scenario;
    const char* prefix;
    std::map<std::string, int> expected;
};

const case_t cases[] = {
    {"the left key opens the peaks, the knob goes home",
     "volts 1500\non\npress left\npress knob\n",
     "input/",
     {{"input/main/f1", 3}, {"input/max_values/knob", 4}}},
    {"screens as first drawn",
     "volts 1500\non\nwait 1 s\npress right\n",
     "screen/",
     {{"screen/main", 2}, {"screen/contrast", 4}}},
    {"the menu's cursor and the item opened",
     "volts 1500\non\npress knob\nturn cw\npress knob\n",
     "row/menu/",
     {{"row/menu/0/cursor/en", 3}, {"row/menu/1/cursor/en", 4}, {"row/menu/1/opened/en", 5}}},
    // The edit that turns the language is taken in English; the row then reads in French.
    {"the language row edited in English and shown in French",
     "volts 1500\non\npress knob\nturn cw\npress knob\nturn cw 3\npress knob\nturn cw\n",
     "row/display_setup/3/",
     {{"row/display_setup/3/cursor/en", 6},
      {"row/display_setup/3/edited/en", 8},
      {"row/display_setup/3/cursor/fr", 8}}},
    {"the language's name in each language",
     "volts 1500\non\npress knob\nturn cw\npress knob\nturn cw 3\npress knob\nturn cw\n",
     "text/pair7/",
     {{"text/pair7/en", 5}, {"text/pair7/fr", 8}}},
    {"the alarm raised, acknowledged and cleared",
     "volts 12.6 V\non\nvolts 9.5 V\nwait 1 s\npress knob\nvolts 12.6 V\nwait 1 s\n",
     "state/alarm",
     {{"state/alarm-raised", 4}, {"state/alarm-acknowledged", 5}, {"state/alarm-cleared", 7}}},
    {"the knob and OFF in the splash, ON inside a run",
     "volts 1500\non 1 s\npress knob\noff\nwait 2 s\non\noff\non\n",
     "state/",
     {{"state/splash-unlock", 3}, {"state/off-in-splash", 4}, {"state/nested-on", 6}}},
    {"a minute without keys",
     "volts 1500\non\npress knob\nwait 1 min\n",
     "state/",
     {{"state/inactivity-return", 4}}},
};

class CoverageCollector : public testing::TestWithParam<case_t> {};

TEST_P(CoverageCollector, ReachesExactlyWhatTheScenarioDoes) {
    const case_t& c = GetParam();
    EXPECT_EQ(reached(c.scenario, c.prefix), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CoverageCollector, testing::ValuesIn(cases));

TEST(CoverageReport, CountsOnlyWhatCanBeReachedAndSaysWhyTheRestCannot) {
    coverage_data empty;
    empty.rows.resize(list_rows().size());
    empty.texts.resize(catalogue_texts().size());
    const coverage_summary s = summarise(empty);
    EXPECT_EQ(s.screens.total, SCREEN_COUNT);
    EXPECT_EQ(s.inputs.total, SCREEN_COUNT * INPUT_COUNT);
    EXPECT_EQ(s.states.reached, 0);
    int never = 0;
    for (const coverage_item& item : coverage_items(empty)) {
        never += item.never != nullptr ? 1 : 0;
    }
    // The splash's texts in French: the splash always follows the factory language.
    EXPECT_EQ(never, 5);
    EXPECT_EQ(summary_line(s).rfind("coverage: 0/9 screens, 0/45 inputs on screens", 0), 0u)
        << summary_line(s);
}

} // namespace

// The texts are listed once, in texts.def: each row is in the firmware's table and in the
// catalogue a report counts, with its own id and its own texts, without a second edit.
TEST(CoverageCatalogue, EveryRowOfTheTextListIsCatalogued) {
    struct row {
        std::string id;
        std::string english;
        std::string french;
    };
    std::vector<row> rows;
    int pairs = 0;
    std::size_t pair_bytes = 0;
#define TXM9_PAIR(name, english, french, ...)                                                      \
    rows.push_back({"pair" + std::to_string(++pairs), english, french});                           \
    pair_bytes += sizeof(texts.name);
#define TXM9_TEXT(id, name, text, ...) rows.push_back({id, text, text});
#define TXM9_FORMAT(id, format, ...) rows.push_back({id, format, format});
#include "firmware/monitor/texts.def"
    EXPECT_EQ(pair_bytes, sizeof(bilingual_texts)) << "every pair is a field of the table";

    const std::vector<catalogue_text>& catalogue = catalogue_texts();
    for (const row& r : rows) {
        SCOPED_TRACE(r.id);
        const auto found = std::find_if(catalogue.begin(), catalogue.end(),
                                        [&](const catalogue_text& t) { return t.id == r.id; });
        ASSERT_NE(found, catalogue.end());
        EXPECT_EQ(std::count_if(catalogue.begin(), catalogue.end(),
                                [&](const catalogue_text& t) { return t.id == r.id; }),
                  1);
        EXPECT_NE(found->places, 0) << "a catalogued text stands somewhere";
        EXPECT_FALSE(found->shown_by.empty());
        // A language may lack the text (the main menu's item 0), never have another one.
        EXPECT_TRUE(found->text[0] == nullptr || found->text[0] == r.english);
        EXPECT_TRUE(found->text[1] == nullptr || found->text[1] == r.french);
    }
}

// The list screens' rows are listed once, in list_rows.def: each is a row coverage counts, on
// its screen, at the firmware's own number for it, with a label.
TEST(CoverageCatalogue, EveryRowOfTheListScreensIsCounted) {
    std::size_t listed = 0;
    const std::vector<list_row>& rows = list_rows();
#define TXM9_LIST_ROW(on, name, number, how, ...)                                                  \
    {                                                                                              \
        SCOPED_TRACE(#name);                                                                       \
        ++listed;                                                                                  \
        EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [](const list_row& r) {                  \
            return r.screen == screen_index(screen_##on) && r.row == name && r.row == number &&    \
                   r.kind == row_kind::how && !r.label.empty();                                    \
        }));                                                                                       \
    }
#include "firmware/monitor/list_rows.def"
    EXPECT_EQ(rows.size(), listed);
}
