// Splits what a client sends into request lines, at most MOST_LINE_BYTES each. A longer line
// is not kept: it is reported once, as too long, and skipped to its end, so that a client
// cannot make the instrument hold an unbounded buffer, and the next line is read as usual.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace txm9 {

inline constexpr std::size_t MOST_LINE_BYTES = 64 * 1024;

struct request_line {
    std::string text;      // without its end of line ("\n" or "\r\n")
    bool too_long = false; // longer than MOST_LINE_BYTES: `text` is empty
};

class line_reader {
public:
    // Bytes as they came; any number of lines, or part of one.
    void feed(std::string_view bytes);
    // The next complete line, in order.
    std::optional<request_line> next();
    // The client has gone: a last line without its end of line counts as a line.
    void finish();

private:
    void complete();

    std::string pending_;   // the line being received
    bool skipping_ = false; // inside a line found too long
    std::deque<request_line> lines_;
};

} // namespace txm9
