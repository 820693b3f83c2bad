// A full disk on demand: while one of these lives, no file of this process may grow past
// `bytes`, and a write beyond it fails with "File too large" as a write to a full file system
// fails with "No space left on device". Works for root too, where permissions do not.
#pragma once

#include <sys/resource.h>

#include <csignal>

class file_size_limit {
public:
    explicit file_size_limit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &before_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN); // report the write, do not end the process
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~file_size_limit() {
        setrlimit(RLIMIT_FSIZE, &before_);
        std::signal(SIGXFSZ, previous_);
    }
    file_size_limit(const file_size_limit&) = delete;
    file_size_limit& operator=(const file_size_limit&) = delete;

private:
    rlimit before_{};
    void (*previous_)(int) = nullptr;
};
