// Every file the programs write goes through the whole-file writer: hostile targets are
// refused and left as they were, a failing file system leaves neither a partial file nor a
// changed target, and the reason is the system's own.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>
#include <string>

#include "files/whole_file_writer.h"
#include "support/file_size_limit.h"
#include "support/scratch_folder.h"

using namespace txm9;
namespace fs = std::filesystem;

namespace {

class WholeFileWriter : public ScratchFolder {};

} // namespace

TEST_F(WholeFileWriter, HostileTargetsAndFailingFileSystems) {
    const std::string big(200000, 'x');
    const struct {
        const char* name;
        std::function<std::string(ScratchFolder&)> prepare; // the target to write
        std::string bytes;
        const char* error; // a part of the message; empty: written
        bool needs_permissions = false;
    } cases[] = {
        {"a new file", [](ScratchFolder& t) { return t.path("new.png"); }, "new", ""},
        {"a file replaced",
         [](ScratchFolder& t) {
             t.write("old.xml", "old");
             return t.path("old.xml");
         },
         "new", ""},
        {"a partial name already taken",
         [](ScratchFolder& t) {
             t.write("busy.png.part", "someone's");
             return t.path("busy.png");
         },
         "new", ""},
        {"a folder",
         [](ScratchFolder& t) {
             fs::create_directory(t.path("dir"));
             return t.path("dir");
         },
         "new", "it is a folder"},
        {"a symbolic link to a file elsewhere",
         [](ScratchFolder& t) {
             t.write("real", "kept");
             fs::create_symlink(t.path("real"), t.path("link"));
             return t.path("link");
         },
         "new", "symbolic link"},
        {"a dangling symbolic link",
         [](ScratchFolder& t) {
             fs::create_symlink("/nonexistent/txm9", t.path("dangling"));
             return t.path("dangling");
         },
         "new", "symbolic link"},
        {"a FIFO",
         [](ScratchFolder& t) {
             ::mkfifo(t.path("fifo").c_str(), 0600);
             return t.path("fifo");
         },
         "new", "it is a FIFO"},
        {"a device", [](ScratchFolder& t) { return t.device("device"); }, "new", "it is a device"},
        {"a missing folder", [](ScratchFolder& t) { return t.path("missing/out.png"); }, "new",
         "No such file or directory"},
        {"a file where a folder should be",
         [](ScratchFolder& t) {
             t.write("plain", "kept");
             return t.path("plain/out.png");
         },
         "new", "Not a directory"},
        {"a read-only folder",
         [](ScratchFolder& t) {
             fs::create_directory(t.path("closed"));
             fs::permissions(t.path("closed"), fs::perms::owner_read | fs::perms::owner_exec);
             return t.path("closed/out.png");
         },
         "new", "Permission denied", true},
        {"a full disk, over an existing file",
         [](ScratchFolder& t) {
             t.write("full.png", "old");
             return t.path("full.png");
         },
         big, "File too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needs_permissions && ::geteuid() == 0) {
            continue; // root writes into a read-only folder: permissions stop nobody
        }
        const std::string target = c.prepare(*this);
        const std::set<std::string> before = listing();
        std::string error;
        if (c.bytes.size() > 100000) {
            const file_size_limit full_disk(4096);
            error = write_whole_file(target, c.bytes);
        } else {
            error = write_whole_file(target, c.bytes);
        }
        if (*c.error == '\0') {
            ASSERT_EQ(error, "");
            EXPECT_EQ(read(fs::path(target).filename().string()), c.bytes);
            std::set<std::string> expected = before;
            std::erase_if(expected, [&](const std::string& e) {
                return e.starts_with(fs::path(target).filename().string() + " = ");
            });
            expected.insert(fs::path(target).filename().string() + " = " + c.bytes);
            EXPECT_EQ(listing(), expected) << "nothing else changed, no partial file left";
        } else {
            EXPECT_EQ(error.find("cannot write " + target + ": "), 0u) << error;
            EXPECT_NE(error.find(c.error), std::string::npos) << error;
            EXPECT_EQ(listing(), before) << "the target and its folder are as they were";
        }
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
}

TEST_F(WholeFileWriter, AReplacedFileKeepsItsPermissions) {
    const std::string target = path("kept.scenario");
    write("kept.scenario", "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(write_whole_file(target, "new"), "");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(WholeFileWriter, FilesThatBelongTogetherAreWrittenAllOrNone) {
    write("report.html", "old page");
    fs::create_directory(path("report.json")); // the second cannot be written
    const std::set<std::string> before = listing();
    const std::string error =
        write_whole_files({{path("report.html"), "new page"}, {path("report.json"), "{}"}});
    EXPECT_NE(error.find("it is a folder"), std::string::npos) << error;
    EXPECT_EQ(listing(), before) << "the first untouched, no partial file";

    fs::remove(path("report.json"));
    EXPECT_EQ(write_whole_files({{path("report.html"), "new page"}, {path("report.json"), "{}"}}),
              "");
    EXPECT_EQ(read("report.html"), "new page");
    EXPECT_EQ(read("report.json"), "{}");
}
