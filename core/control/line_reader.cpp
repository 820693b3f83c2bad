#include "control/line_reader.h"

namespace txm9 {

void line_reader::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view part = bytes.substr(0, end);
        if (!skipping_) {
            // A "\r" that ends the line does not count against its length.
            if (pending_.size() + part.size() > MOST_LINE_BYTES + 1) {
                skipping_ = true;
                pending_.clear();
            } else {
                pending_.append(part);
            }
        }
        if (end == std::string_view::npos) {
            if (!skipping_ && pending_.size() > MOST_LINE_BYTES &&
                !(pending_.size() == MOST_LINE_BYTES + 1 && pending_.back() == '\r')) {
                skipping_ = true;
                pending_.clear();
            }
            return;
        }
        complete();
        bytes.remove_prefix(end + 1);
    }
}

void line_reader::complete() {
    if (!skipping_ && !pending_.empty() && pending_.back() == '\r') {
        pending_.pop_back();
    }
    if (skipping_ || pending_.size() > MOST_LINE_BYTES) {
        lines_.push_back({std::string(), true});
    } else {
        lines_.push_back({std::move(pending_), false});
    }
    pending_.clear();
    skipping_ = false;
}

void line_reader::finish() {
    if (skipping_ || !pending_.empty()) {
        complete();
    }
}

std::optional<request_line> line_reader::next() {
    if (lines_.empty()) {
        return std::nullopt;
    }
    request_line line = std::move(lines_.front());
    lines_.pop_front();
    return line;
}

} // namespace txm9
