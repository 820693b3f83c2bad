#include "run_program.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

program_run run_program(const std::vector<std::string>& args, const std::string& folder,
                        const run_settings& settings) {
    int out_pipe[2];
    int err_pipe[2];
    if (::pipe2(out_pipe, O_CLOEXEC) != 0 || ::pipe2(err_pipe, O_CLOEXEC) != 0) {
        return {};
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out_pipe[1], 1);
        ::dup2(err_pipe[1], 2);
        if (::chdir(folder.c_str()) != 0) {
            ::_exit(127);
        }
        if (settings.file_size_limit != RLIM_INFINITY) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = settings.file_size_limit;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> argv;
        std::string program = TXM9_SCENARIO_PROGRAM;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& a : copies) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    program_run run;
    bool signalled = settings.signal == 0;
    // The delays before each signal, counted from the one before (the first from the text).
    std::vector<int> delays{settings.signal_delay_ms};
    delays.insert(delays.end(), settings.again_after_ms.begin(), settings.again_after_ms.end());
    std::size_t sent = 0;
    auto next_at = std::chrono::steady_clock::time_point::max();
    pollfd fds[2] = {{out_pipe[0], POLLIN, 0}, {err_pipe[0], POLLIN, 0}};
    int open_pipes = 2;
    while (open_pipes > 0) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= next_at) {
            ::kill(child, settings.signal);
            next_at = ++sent < delays.size() ? now + std::chrono::milliseconds(delays[sent])
                                             : std::chrono::steady_clock::time_point::max();
        }
        const int wait_ms =
            next_at == std::chrono::steady_clock::time_point::max()
                ? -1
                : static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                       next_at - std::chrono::steady_clock::now())
                                       .count());
        if (::poll(fds, 2, std::max(wait_ms, wait_ms < 0 ? -1 : 0)) < 0) {
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_pipes;
                continue;
            }
            (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
        }
        if (!signalled && run.out.find(settings.signal_after) != std::string::npos) {
            signalled = true;
            next_at = std::chrono::steady_clock::now() + std::chrono::milliseconds(delays[0]);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}
