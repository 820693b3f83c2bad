// What a scenario from a stranger can make the runner write, and what the runner reads as a
// scenario: files only inside the folders the user chose, never over a scenario, reports in
// valid UTF-8 that name the files that did not play, and a scenario that is a regular file of
// a sensible size, refused at once otherwise.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "run_program.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class RunnerWrites : public ScratchFolder {};

} // namespace

TEST_F(RunnerWrites, AScenarioWritesNothingOutsideTheFoldersItsUserChose) {
    fs::create_directories(path("plays"));
    write("photo.png", "the user's picture");
    write("plays/absolute.scenario", "on\nscreenshot " + path("photo.png") + "\n");
    write("plays/climbs.scenario", "on\nwait 1 s\nscreenshot shots/../../../deep/new/x.png\n");
    write("plays/update.scenario", "on\nexpect frame ../refs/main.png\n");
    const struct {
        const char* name;
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {"an absolute screenshot", {"plays/absolute.scenario"}, "absolute.scenario:2:12: "},
        {"a screenshot that climbs out of --out",
         {"--out", "new/out", "plays/climbs.scenario"},
         "climbs.scenario:3:12: a screenshot is written inside the output folder"},
        {"a reference written by --update outside the scenario's folder",
         {"--update", "plays/update.scenario"},
         "update.scenario:2:14: --update writes a reference inside the scenario's folder"},
    };
    const std::set<std::string> before = listing();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const program_run run = run_program(c.args, folder.string());
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(listing(), before) << "nothing written, no folder made (--out included)";
        EXPECT_FALSE(fs::exists(path("deep")));
    }
    // Reading a reference from a sibling folder stays allowed.
    fs::create_directories(path("refs"));
    write("refs/make.scenario", "on\nexpect frame main.png\n");
    ASSERT_EQ(run_program({"--update", "refs/make.scenario"}, folder.string()).status, 0);
    const program_run sibling = run_program({"plays/update.scenario"}, folder.string());
    EXPECT_EQ(sibling.status, 0) << sibling.err;
}

TEST_F(RunnerWrites, TheCoverageReportIsNeverWrittenOverAScenario) {
    fs::create_directories(path("cov"));
    write("cov/coverage.json", "on\nexpect screen main\n");
    const std::set<std::string> before = listing();
    const program_run run =
        run_program({"--coverage", "cov", "cov/coverage.json"}, folder.string());
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("cannot write cov/coverage.json: it is the scenario cov/coverage.json, "
                           "which would be lost"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(read("cov/coverage.json"), "on\nexpect screen main\n");
    EXPECT_FALSE(fs::exists(path("cov/coverage.html")));
    EXPECT_EQ(listing(), before);
}

TEST_F(RunnerWrites, TheCoverageReportIsStrictUtf8AndNamesTheFilesThatDidNotPlay) {
    // An overlong '<', a surrogate and a code point past U+10FFFF in the files' names.
    const std::string odd = "odd\xC0\xBC\xED\xA0\x80\xF4\x90\x80\x80.scenario";
    write(odd, "on\nexpect screen main\n");
    write("mistaken.scenario", "on\nexpect screen lobby\n");
    const program_run run = run_program(
        {"--coverage", "cov", odd, "mistaken.scenario", "missing.scenario"}, folder.string());
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.out.find("2 of 3 files not played"), std::string::npos) << run.out;
    // As the runner prints it; JSON doubles the backslash.
    for (const auto& [name, shown] :
         {std::pair{"cov/coverage.json", R"(odd\\xC0\\xBC\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80)"},
          std::pair{"cov/coverage.html", R"(odd\xC0\xBC\xED\xA0\x80\xF4\x90\x80\x80)"}}) {
        SCOPED_TRACE(name);
        const std::string report = read(name);
        EXPECT_NE(report.find(shown), std::string::npos);
        for (const char byte : {'\xC0', '\xED', '\xF4'}) {
            EXPECT_EQ(report.find(byte), std::string::npos) << "a byte of an invalid form";
        }
        EXPECT_NE(report.find("mistaken.scenario:2:15: unknown screen"), std::string::npos);
        EXPECT_NE(report.find("cannot read the file: No such file or directory"),
                  std::string::npos);
    }
    EXPECT_NE(read("cov/coverage.json").find("\"not_played\": [{\"file\": \"mistaken.scenario\""),
              std::string::npos);
}

TEST_F(RunnerWrites, AFailedRunLeavesNoFolderItMade) {
    write("mistaken.scenario", "on\nexpect screen lobby\n");
    run_settings full_disk;
    full_disk.file_size_limit = 100; // the reports cannot be written either
    const program_run run = run_program({"--out", "new/deep/out", "--coverage", "new/cov/x/..",
                                         "--junit", "report.xml", "mistaken.scenario"},
                                        folder.string(), full_disk);
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_FALSE(fs::exists(path("new"))) << run.err;
}

TEST_F(RunnerWrites, AScenarioIsARegularFileOfBoundedSizeRefusedAtOnceOtherwise) {
    ::mkfifo(path("fifo.scenario").c_str(), 0600);
    fs::create_directories(path("folder.scenario"));
    write("huge.scenario", "on\n");
    fs::resize_file(path("huge.scenario"), (std::uintmax_t{64} << 20) + 1); // sparse
    const struct {
        std::string file;
        const char* message;
    } cases[] = {
        {"fifo.scenario", "fifo.scenario: is a FIFO, not a scenario file"},
        {"/dev/zero", "/dev/zero: is a device, not a scenario file"},
        {"folder.scenario", "folder.scenario: is a folder, not a scenario file"},
        {"huge.scenario", "huge.scenario: is larger than 64 MB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const program_run run = run_program({"--timeout", "5", c.file}, folder.string());
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}
