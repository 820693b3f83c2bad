// Mistakes in a scenario: each is exit status 2 with FILE:LINE:COLUMN and a message that says
// what is wrong, found before the file leaves any trace (no picture written, nothing printed),
// and nothing from a library on the error output.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "run_program.h"
#include "support/scratch_folder.h"

namespace {

class RunnerMistakes : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        // A reference frame of the display and a picture of another size, made by the runner.
        write("make.scenario", "on\nexpect frame ref.png\nscreenshot big.png\n");
        ASSERT_EQ(run_program({"--update", "make.scenario"}, folder.string()).status, 0);
        write("cut.png", read("ref.png").substr(0, 60));
        std::filesystem::remove(path("make.scenario"));
    }
};

// Nine ONs in a row: the ninth nests deeper than a scenario may.
std::string nested_ons(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += "on\n";
    }
    return text;
}

} // namespace

TEST_F(RunnerMistakes, EachMistakeIsExitTwoWithItsPlaceAndNoTrace) {
    // Each scenario first prints and takes a screenshot, which must not come out.
    const std::string first = "on\nprint\nscreenshot shot.png\n";
    const struct {
        const char* name;
        std::string text;
        int status;
        const char* message; // after "x.scenario:"; empty: the file passes
    } cases[] = {
        {"an empty file", "", 2, "1:1: nothing to play"},
        {"comments only", "# nothing\n\n   # here\n", 2, "1:1: nothing to play"},
        {"a duration too large to read", first + "wait 1e308 ms\n", 2,
         "4:6: '1e308 ms' is out of range: a duration may be at most 24 h"},
        {"a count too large to read", first + "turn cw 99999999999999999999\n", 2,
         "4:9: turns 99999999999999999999 out of range 1..1000"},
        {"a count with decimals", first + "volts 12.5\n", 2,
         "4:7: count 12.5 is not a whole number: counts are 0..4096 (or give volts with V)"},
        {"a voltage no count gives", first + "volts 99.9 V\n", 2,
         "4:7: no count reads 99.9 V at any calibration: the display reads at most 50.6 V"},
        {"a voltage too large to read", first + "volts 1e308 V\n", 2,
         "4:7: no count reads 1e308 V at any calibration"},
        {"a value too large to read", first + "expect volts_dv == 1e300\n", 2,
         "4:20: 1e300 is out of range"},
        {"a current no count gives now", first + "amps 99999 A\n", 2,
         "4:1: no count reads 99999.0 A; the nearest is"},
        {"nine nested runs", first + nested_ons(8), 2, "11:1: more than 8 nested runs"},
        {"a missing reference frame", first + "expect frame missing.png\n", 2,
         "4:1: no reference frame missing.png (run with --update to write it)"},
        {"a reference that is not a whole PNG", first + "expect frame cut.png\n", 2,
         "4:1: cannot read cut.png as a PNG picture"},
        {"a reference of another size", first + "expect frame big.png\n", 2,
         "4:1: the reference frame big.png is 228 x 128, not the display's 114 x 64"},
        {"a folder that cannot be made", "on\nscreenshot ref.png/shot.png\n", 2,
         "2:1: cannot write ref.png/shot.png: cannot make the folder ref.png: Not a directory"},
        {"a reference of another size taken by the scenario",
         first + "screenshot own.png\nexpect frame own.png\n", 2,
         "5:1: the reference frame own.png is 228 x 128, not the display's 114 x 64"},
        {"a reference taken by the scenario",
         "on\nscreenshot own.png scale 1\nexpect frame own.png\n", 0, ""},
        {"UTF-16 text", std::string("\xff\xfeo\0n\0", 6), 2, "1:1: the file is UTF-16 text"},
        {"a byte-order mark", "\xef\xbb\xbfon\nexpect screen main\n", 0, ""},
        {"CR line ends", "on\rexpect screen main\r", 0, ""},
        {"CR LF line ends", "on\r\nexpect screen main\r\n", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("x.scenario", c.text);
        const program_run run = run_program({"x.scenario"}, folder.string());
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.status == 0) {
            continue;
        }
        EXPECT_EQ(run.err,
                  "x.scenario:" + std::string(c.message) +
                      run.err.substr(std::min(run.err.size(), 11 + std::string(c.message).size())))
            << "one line, ours, starting with the place and the message";
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        EXPECT_EQ(run.out, "") << "nothing printed";
        EXPECT_FALSE(std::filesystem::exists(path("shot.png"))) << "nothing written";
    }
}

TEST_F(RunnerMistakes, FailurePicturesOfReferencesWithTheSameNameAreKeptApart) {
    std::filesystem::create_directories(path("a"));
    std::filesystem::create_directories(path("b"));
    for (const char* scenario : {"a/t.scenario", "b/t.scenario"}) {
        write(scenario, "on 1 s\nexpect frame ref.png\n"); // the splash, not the main display
        std::filesystem::copy_file(path("ref.png"),
                                   path(std::filesystem::path(scenario).parent_path() / "ref.png"));
    }
    const program_run run =
        run_program({"--out", "out", "a/t.scenario", "b/t.scenario"}, folder.string());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("see out/ref.actual.png"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("see out/ref.2.actual.png"), std::string::npos) << run.err;
    for (const char* name : {"ref", "ref.2"}) {
        for (const char* suffix : {".actual.png", ".expected.png", ".diff.png"}) {
            EXPECT_TRUE(std::filesystem::exists(path(std::string("out/") + name + suffix)))
                << name << suffix;
        }
    }
}
