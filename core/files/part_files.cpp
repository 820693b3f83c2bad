#include "files/part_files.h"

#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace txm9 {

namespace {

// A program writes one or two files at a time; a file beyond these is simply not removed on
// a signal, as before.
constexpr int MOST_PARTS = 16;
constexpr std::size_t LONGEST_PART_NAME = 4200;

struct part_slot {
    std::atomic<bool> used{false};
    char path[LONGEST_PART_NAME];
};

part_slot parts[MOST_PARTS];

} // namespace

void remove_part_files() {
    for (part_slot& slot : parts) {
        if (slot.used.load()) {
            ::unlink(slot.path);
        }
    }
}

void end_by_signal(int signal) {
    remove_part_files();
    ::_exit(128 + signal);
}

signals_held::signals_held() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before_);
}

signals_held::~signals_held() {
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

void note_part_file(const std::string& path) {
    if (path.size() >= LONGEST_PART_NAME) {
        return;
    }
    for (part_slot& slot : parts) {
        if (!slot.used.load()) {
            std::memcpy(slot.path, path.c_str(), path.size() + 1);
            slot.used.store(true);
            return;
        }
    }
}

void forget_part_file(const std::string& path) {
    for (part_slot& slot : parts) {
        if (slot.used.load() && path == slot.path) {
            slot.used.store(false);
            return;
        }
    }
}

} // namespace txm9
