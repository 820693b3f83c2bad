#include "control_stdio.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "control/headless_control.h"
#include "control/mcp_bridge.h"
#include "scenario/message_text.h"

namespace txm9 {

namespace {

// Standard input split into lines; standard output written in one go before each read, so
// that a burst of events costs one write, not one each.
class stdio_lines {
public:
    std::optional<request_line> next() {
        for (;;) {
            if (std::optional<request_line> line = lines_.next()) {
                return line;
            }
            if (ended_ || !flush()) {
                return std::nullopt;
            }
            char buffer[65536];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                ended_ = true;
                lines_.finish();
                continue;
            }
            lines_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
    }

    void send(const std::string& line) {
        out_ += line;
        out_ += '\n';
    }

    // False once the client has stopped reading: the session is over.
    bool flush() {
        std::size_t at = 0;
        while (at < out_.size()) {
            const ssize_t n = ::write(STDOUT_FILENO, out_.data() + at, out_.size() - at);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                out_.clear();
                return false;
            }
            at += static_cast<std::size_t>(n);
        }
        out_.clear();
        return true;
    }

private:
    line_reader lines_;
    std::string out_;
    bool ended_ = false;
};

const char usage[] =
    "usage: txm9-scenario --serve [--out DIR] [--update]\n"
    "       txm9-scenario --mcp [--out DIR] [--update]\n"
    "--serve  a headless instrument driven by JSON lines on standard input and output\n"
    "         (see doc/control.md); requests play on instrument time\n"
    "--mcp    the same instrument as a Model Context Protocol tool server for an assistant\n"
    "--out DIR  where screenshots and failure pictures go; relative reference frames are\n"
    "         read from the current folder\n"
    "--update write the reference frames of expect frame instead of comparing\n";

} // namespace

int serve_if_asked(int argc, char* argv[], const char* version) {
    if (argc < 2 || (std::strcmp(argv[1], "--serve") != 0 && std::strcmp(argv[1], "--mcp") != 0)) {
        return -1;
    }
    const bool mcp = std::strcmp(argv[1], "--mcp") == 0;
    player_options options;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            options.out_dir = argv[++i];
        } else if (std::strcmp(argv[i], "--update") == 0) {
            options.update = true;
        } else {
            std::cerr << "txm9-scenario: " << argv[1]
                      << " takes only --out DIR and --update, found '"
                      << valid_utf8(cut_for_message(argv[i])) << "'\n"
                      << usage;
            return 2;
        }
    }
    // A client that goes away is the end of its session, not of the program by a signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    const control_identity who{"txm9-scenario", version, "headless"};
    stdio_lines io;
    if (!mcp) {
        serve_headless([&io] { return io.next(); },
                       [&io](const std::string& line) { io.send(line); }, who, options);
        io.flush();
        return 0;
    }
    mcp_bridge bridge("txm9-scenario", version);
    // Each assistant message is answered here, or becomes the session's next request.
    const next_request_line next = [&]() -> std::optional<request_line> {
        for (;;) {
            std::optional<request_line> line = io.next();
            if (!line) {
                return std::nullopt;
            }
            mcp_bridge::step step = bridge.from_client(*line);
            for (const std::string& response : step.to_client) {
                io.send(response);
            }
            if (step.control_line) {
                return request_line{*step.control_line, false};
            }
        }
    };
    serve_headless(
        next,
        [&](const std::string& line) {
            if (const std::optional<std::string> response = bridge.from_session(line)) {
                io.send(*response);
            }
        },
        who, options);
    io.flush();
    return 0;
}

} // namespace txm9
