// The runner's files: a report or a picture is written whole or not at all, never over
// something that is not a regular file nor over a scenario being played, and a failure says
// why with exit status 2.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "run_program.h"
#include "support/scratch_folder.h"

namespace fs = std::filesystem;

namespace {

class RunnerFiles : public ScratchFolder {};

} // namespace

TEST_F(RunnerFiles, FilesAreWrittenWholeOrNotAtAllAndNeverOverWhatIsNotTheirs) {
    write("ok.scenario", "on\nexpect screen main\n");
    write("shot.scenario", "on\nscreenshot shot.png scale 16\n");
    write("kept.xml", "the old report");
    fs::create_symlink("kept.xml", path("link.xml"));
    ::mkfifo(path("fifo.xml").c_str(), 0600);
    const std::string device = this->device("device.xml");
    const std::set<std::string> before = listing();
    const struct {
        const char* name;
        std::vector<std::string> args;
        rlim_t full_disk_at;
        const char* message;
        bool played; // a scenario ran before the failure
    } cases[] = {
        {"a report over a device",
         {"--junit", device, "ok.scenario"},
         RLIM_INFINITY,
         "it is a device",
         false},
        {"a report over a symbolic link",
         {"--junit", "link.xml", "ok.scenario"},
         RLIM_INFINITY,
         "cannot write link.xml: it is a symbolic link",
         false},
        {"a report over a FIFO",
         {"--junit", "fifo.xml", "ok.scenario"},
         RLIM_INFINITY,
         "cannot write fifo.xml: it is a FIFO",
         false},
        {"a report over a folder",
         {"--junit", ".", "ok.scenario"},
         RLIM_INFINITY,
         "cannot write .: it is a folder",
         false},
        {"a report over the scenario played",
         {"--junit", "ok.scenario", "ok.scenario"},
         RLIM_INFINITY,
         "it is the scenario ok.scenario",
         false},
        {"a report in a missing folder",
         {"--junit", "no/report.xml", "ok.scenario"},
         RLIM_INFINITY,
         "cannot write no/report.xml: No such file or directory",
         false},
        {"a report on a full disk",
         {"--junit", "full.xml", "ok.scenario"},
         200,
         "cannot write full.xml: File too large",
         true},
        {"a screenshot on a full disk",
         {"shot.scenario"},
         200,
         "shot.scenario:2:1: cannot write shot.png: File too large",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        run_settings settings;
        settings.file_size_limit = c.full_disk_at;
        const program_run run = run_program(c.args, folder.string(), settings);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find("PASS") != std::string::npos, c.played) << run.out;
        EXPECT_EQ(listing(), before) << "no partial file, nothing replaced";
    }
}

TEST_F(RunnerFiles, APlainPbmReferenceIsWrittenByUpdateReadsAsTextAndIsCompared) {
    write("menu.scenario", "volts 1500\non\npress knob\nexpect frame ref/menu.pbm\n");
    const program_run update = run_program({"--update", "menu.scenario"}, folder.string());
    ASSERT_EQ(update.status, 0) << update.err;
    std::string pbm = read("ref/menu.pbm");
    ASSERT_EQ(pbm.rfind("P1\n114 64\n", 0), 0u) << pbm.substr(0, 40);
    EXPECT_EQ(pbm.size(), 10u + 64 * 115); // one character a pixel, a row a line
    EXPECT_EQ(run_program({"menu.scenario"}, folder.string()).status, 0);

    // A reviewer's one-pixel edit of the text is a mismatch, and a broken file a mistake.
    const std::size_t corner = 10; // the top-left pixel
    pbm[corner] = pbm[corner] == '0' ? '1' : '0';
    write("ref/menu.pbm", pbm);
    const program_run changed = run_program({"menu.scenario"}, folder.string());
    EXPECT_EQ(changed.status, 1);
    EXPECT_NE(changed.err.find("in 1 pixels, the first at (0, 0)"), std::string::npos)
        << changed.err;
    write("ref/menu.pbm", "P1\n114 64\n0101");
    const program_run broken = run_program({"menu.scenario"}, folder.string());
    EXPECT_EQ(broken.status, 2);
    EXPECT_NE(broken.err.find("only 4 of the header's 114 x 64 pixels"), std::string::npos)
        << broken.err;
}
