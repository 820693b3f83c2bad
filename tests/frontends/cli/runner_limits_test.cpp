// The runner's limits: real time per file, an interrupted run still reports what finished,
// and whatever bytes a scenario holds, what the runner prints and reports is readable UTF-8 of
// a sensible length.
#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "run_program.h"
#include "support/scratch_folder.h"

namespace {

class RunnerLimits : public ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        write("ok.scenario", "on\nexpect screen main\n");
        write("long.scenario", "on\nwait 1440 min\nexpect screen main\n");
    }
};

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

} // namespace

TEST_F(RunnerLimits, AFileStillPlayingPastTheTimeoutFailsAtItsLineAndTheOthersRun) {
    const program_run run =
        run_program({"--timeout", "0.3", "--junit", "report.xml", "long.scenario", "ok.scenario"},
                    folder.string());
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("FAIL long.scenario:2: still playing after the time limit of 0.3 s"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("PASS ok.scenario"), std::string::npos) << run.out;
    const std::string report = read("report.xml");
    EXPECT_NE(report.find("tests=\"2\" failures=\"1\" errors=\"0\""), std::string::npos) << report;
}

TEST_F(RunnerLimits, AnInterruptedRunReportsTheFilesThatFinished) {
    for (const auto& [signal, status] : {std::pair{SIGINT, 130}, std::pair{SIGTERM, 143}}) {
        SCOPED_TRACE(signal);
        run_settings settings;
        settings.signal = signal;
        settings.signal_after = "PASS ok.scenario";
        const program_run run =
            run_program({"--junit", "report.xml", "ok.scenario", "long.scenario", "ok.scenario"},
                        folder.string(), settings);
        EXPECT_EQ(run.status, status) << run.err;
        EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
        const std::string report = read("report.xml");
        EXPECT_NE(report.find("tests=\"1\" failures=\"0\" errors=\"0\""), std::string::npos)
            << report;
        EXPECT_EQ(count(report, "<testcase"), 1u) << report;
    }
}

TEST_F(RunnerLimits, MessagesAndReportsAreReadableUtf8AndLongWordsAreCut) {
    write("bytes.scenario", "on\nexpect text \"\xff\xfe\x1b[2J caf\xc3\xa9\"\n");
    write("word.scenario", "on\n" + std::string(10'000'000, 'x') + "\n");
    const program_run run =
        run_program({"--junit", "report.xml", "bytes.scenario", "word.scenario"}, folder.string());
    EXPECT_EQ(run.status, 2) << run.err;
    const std::string report = read("report.xml");
    for (const std::string* text : {&run.err, &report}) {
        EXPECT_NE(text->find("\\xFF\\xFE\\x1B[2J caf\xc3\xa9"), std::string::npos) << *text;
        EXPECT_EQ(text->find('\xff'), std::string::npos);
        EXPECT_EQ(text->find('\x1b'), std::string::npos);
        EXPECT_NE(text->find("word.scenario:2:1: unknown command 'xxxxxxxx"), std::string::npos);
        EXPECT_NE(text->find("...(10000000 bytes)"), std::string::npos);
        EXPECT_LT(text->size(), 20000u) << "the long word is not echoed whole";
    }
}
