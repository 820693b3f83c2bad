// The runner stopped by a signal, as a user stops it with Ctrl+C or a CI job with SIGTERM: the
// reports of the files that finished are still written, whole, whenever the signal comes, and
// however many come, no partial file is left behind.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "run_program.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class RunnerSignals : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        write("ok.scenario", "on\nexpect screen main\n");
        write("long.scenario", "on\nwait 1440 min\nexpect screen main\n");
        // Its source goes into the coverage page, which takes a while to write.
        std::string big = "on\nexpect screen main\n";
        for (int i = 0; i < 40000; ++i) {
            big += "# a comment that makes the report large, line after line\n";
        }
        write("big.scenario", big);
    }

    // Every partial file anywhere in the folder.
    std::vector<std::string> parts() const {
        std::vector<std::string> found;
        for (const auto& e : fs::recursive_directory_iterator(folder)) {
            if (e.path().string().ends_with(".part")) {
                found.push_back(e.path().string());
            }
        }
        return found;
    }
};

} // namespace

TEST_F(RunnerSignals, AStopWhilePlayingWritesBothReportsOfTheFinishedFiles) {
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(signal);
        run_settings settings;
        settings.signal = signal;
        settings.signal_after = "PASS ok.scenario";
        const program_run run = run_program(
            {"--junit", "report.xml", "--coverage", "cov", "ok.scenario", "long.scenario"},
            folder.string(), settings);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_NE(read("report.xml").find("tests=\"1\""), std::string::npos);
        const std::string json = read("cov/coverage.json");
        EXPECT_NE(json.find("\"files\": [\"ok.scenario\"]"), std::string::npos) << json;
        EXPECT_NE(json.find("\"screen/main\", \"reached\": true"), std::string::npos);
    }
}

TEST_F(RunnerSignals, AStopWhileTheReportsAreWrittenWaitsForThemAndSaysSo) {
    run_settings settings;
    settings.signal = SIGINT;
    settings.signal_after = "PASS big.scenario";
    const program_run run = run_program(
        {"--junit", "report.xml", "--coverage", "cov", "big.scenario"}, folder.string(), settings);
    EXPECT_EQ(run.status, 130) << run.err;
    EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
    EXPECT_NE(read("report.xml").find("</testsuites>"), std::string::npos);
    EXPECT_TRUE(read("cov/coverage.json").ends_with("]\n}\n"));
    EXPECT_TRUE(read("cov/coverage.html").ends_with("</html>\n"));
}

TEST_F(RunnerSignals, NoNumberOfSignalsAtAnyMomentLeavesAPartialFile) {
    // A first signal at different moments of the reports' writing, and more in quick
    // succession after it.
    for (const int delay_ms : {0, 2, 5, 10, 20, 40, 60}) {
        for (const int signal : {SIGINT, SIGTERM}) {
            SCOPED_TRACE(std::to_string(delay_ms) + " ms, signal " + std::to_string(signal));
            fs::remove_all(path("cov"));
            fs::remove(path("report.xml"));
            run_settings settings;
            settings.signal = signal;
            settings.signal_after = "PASS big.scenario";
            settings.signal_delay_ms = delay_ms;
            settings.again_after_ms = {1, 2, 5, 10};
            const program_run run =
                run_program({"--junit", "report.xml", "--coverage", "cov", "big.scenario"},
                            folder.string(), settings);
            // A loaded machine may finish the reports before a late signal comes.
            EXPECT_TRUE(run.status == 128 + signal || run.status == 0) << run.err;
            EXPECT_EQ(parts(), std::vector<std::string>{});
            // The coverage pair is whole: both files or neither.
            EXPECT_EQ(fs::exists(path("cov/coverage.html")), fs::exists(path("cov/coverage.json")));
        }
    }
}
