// The twin's host side: the journal of a play read back frame by frame, and a target's frames,
// written as the target writes them, held against it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "scenario/play_journal.h"
#include "scenario/play_journal_format.h"
#include "scenario/scenario_player.h"
#include "twin_frames.h"

using namespace txm9;

namespace {

// 12.3 V, ON, the splash, a second of passes, the menu (line 4), OFF.
const char scenario_text[] = "volts 1500\n"
                             "on\n"
                             "wait 1 s\n"
                             "press knob\n"
                             "expect screen menu\n";

std::vector<played_scenario> desktop_play() {
    play_journal journal;
    player_options options;
    options.files = false;
    options.journal = &journal;
    const scenario_outcome outcome = play_scenario_text(scenario_text, "menu.scenario", options);
    EXPECT_EQ(outcome.status, outcome_status::passed) << outcome.message;
    std::vector<played_scenario> plays;
    std::string error;
    EXPECT_TRUE(read_journal_frames(journal.bytes(), plays, error)) << error;
    return plays;
}

void put(std::string& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>(v >> (8 * i)));
    }
}

// As target/twin.cpp hands them back: frames unlike the last, the runs' ends, the count.
std::string as_target_frames(const std::vector<played_scenario>& plays) {
    std::string out(journal::FRAMES_MAGIC, sizeof journal::FRAMES_MAGIC);
    for (const played_scenario& s : plays) {
        out.push_back(journal::SCENARIO);
        for (std::size_t f = 0; f < s.frames.size(); ++f) {
            if (f > 0 && s.frames[f] == s.frames[f - 1]) {
                continue;
            }
            out.push_back(journal::FRAME);
            put(out, f, 4);
            put(out, s.frames[f].lamp_lit ? 1 : 0, 1);
            out.append(s.frames[f].lcd.begin(), s.frames[f].lcd.end());
        }
        for (const run_end_at& e : s.run_ends) {
            out.push_back(journal::RUN_ENDED);
            put(out, e.frame, 4);
            put(out, e.faulted ? 1 : 0, 1);
            put(out, e.fault.size(), 2);
            out += e.fault;
        }
        out.push_back(static_cast<char>(journal::FRAMES_SHOWN));
        put(out, s.frames.size(), 4);
    }
    return out;
}

} // namespace

TEST(PlayJournal, HoldsEveryFrameWithItsLineAndHowTheRunEnded) {
    const std::vector<played_scenario> plays = desktop_play();
    ASSERT_EQ(plays.size(), 1u);
    const played_scenario& s = plays[0];
    EXPECT_EQ(s.file, "menu.scenario");
    // 80 splash frames and the first pass (ON waits for it), 40 passes in the second, the
    // key's two passes.
    EXPECT_EQ(s.frames.size(), 80u + 1u + 40u + 2u);
    EXPECT_EQ(s.lines.front(), 2) << "the splash belongs to the ON";
    EXPECT_EQ(s.lines.back(), 4) << "the menu belongs to the key";
    EXPECT_NE(s.frames[0], s.frames.back());
    ASSERT_EQ(s.run_ends.size(), 1u);
    EXPECT_EQ(s.run_ends[0], (run_end_at{static_cast<uint32_t>(s.frames.size() - 1), false, ""}));
}

TEST(TwinComparison, NamesTheFirstFrameThatDiffersWithItsLine) {
    const std::vector<played_scenario> desktop = desktop_play();
    const std::size_t last = desktop[0].frames.size() - 1;
    struct fault_case {
        const char* name;
        std::function<void(played_scenario&)> on_target;
        uint32_t frame;   // the frame named
        const char* what; // in what the comparison says
    };
    const fault_case cases[] = {
        {"equal", [](played_scenario&) {}, 0, ""},
        {"a pixel", [](played_scenario& t) { t.frames[100].lcd[5] ^= 0x10; }, 100,
         "frame 100 differs in 1 pixel; 1 of 123 frames differ"},
        {"the lamp", [](played_scenario& t) { t.frames[90].lamp_lit = !t.frames[90].lamp_lit; }, 90,
         "the lamp"},
        {"a frame short",
         [](played_scenario& t) {
             t.frames.pop_back();
             t.run_ends[0].frame--;
         },
         static_cast<uint32_t>(last), "the target showed 122 frames, the desktop 123"},
        {"a fault",
         [](played_scenario& t) {
             t.run_ends[0].faulted = true;
             t.run_ends[0].fault = "Floating point division by zero";
         },
         static_cast<uint32_t>(last),
         "with the fault \"Floating point division by zero\" on the target"},
    };
    for (const fault_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<played_scenario> changed = desktop;
        c.on_target(changed[0]);
        std::vector<played_scenario> target;
        std::string error;
        ASSERT_TRUE(read_target_frames(as_target_frames(changed), target, error)) << error;
        const twin_comparison result = compare_twin(desktop, target);
        EXPECT_EQ(result.scenarios, 1);
        if (std::string(c.name) == "equal") {
            EXPECT_TRUE(result.differences.empty()) << result.differences[0].what;
            EXPECT_EQ(result.frames, desktop[0].frames.size());
            continue;
        }
        ASSERT_EQ(result.differences.size(), 1u);
        const twin_difference& d = result.differences[0];
        EXPECT_EQ(d.file, "menu.scenario");
        EXPECT_EQ(d.frame, c.frame);
        EXPECT_EQ(d.line, desktop[0].lines[c.frame]);
        EXPECT_NE(d.what.find(c.what), std::string::npos) << d.what;
    }
}

TEST(TwinComparison, ATargetThatStoppedIsNoMatch) {
    const std::vector<played_scenario> desktop = desktop_play();
    std::string bytes = as_target_frames(desktop);
    bytes.resize(bytes.size() / 2);
    std::vector<played_scenario> target;
    std::string error;
    EXPECT_FALSE(read_target_frames(bytes, target, error));
    EXPECT_NE(error.find("cut short"), std::string::npos) << error;
}
