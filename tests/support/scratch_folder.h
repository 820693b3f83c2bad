// A fresh folder for each test that writes files, and what it holds afterwards.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

class ScratchFolder : public ::testing::Test {
public:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("txm9-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(folder);
    }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    // A character device to aim a write at: a node of the system's "full" device made in the
    // folder when this process may make one, so that a writer that wrongly replaced it would
    // harm nothing; otherwise /dev/full, which an unprivileged process cannot replace.
    std::string device(const std::string& name) const {
        if (::mknod(path(name).c_str(), S_IFCHR | 0600, makedev(1, 7)) == 0) {
            return path(name);
        }
        return "/dev/full";
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    // Every entry with what it holds: a file's bytes, a link's target, anything else a kind.
    std::set<std::string> listing() const {
        std::set<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(folder)) {
            const std::string name = e.path().filename().string();
            if (e.is_symlink()) {
                out.insert(name + " -> " + std::filesystem::read_symlink(e.path()).string());
            } else if (e.is_regular_file()) {
                out.insert(name + " = " + read(name));
            } else {
                out.insert(name + " (other)");
            }
        }
        return out;
    }

    std::filesystem::path folder;
};
