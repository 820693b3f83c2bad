#include "page_control.h"

#include <emscripten.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "control/control_protocol.h"
#include "engine/timing.h"
#include "web_panel.h"

namespace txm9 {

namespace {

// The page's side: embed_control.js posts every line to the embedding page.
EM_JS(void, control_send, (const char* line), { Module.control.send(UTF8ToString(line)); });

// Screenshots and reference frames a request names, in the module's memory.
constexpr const char* CONTROL_FOLDER = "/control";

bool running() {
    return page_panel().session().running();
}

} // namespace

page_control::page_control(const std::string& version) {
    std::error_code ignored;
    std::filesystem::create_directories(CONTROL_FOLDER, ignored);
    player_options options;
    options.out_dir = CONTROL_FOLDER;
    session_ = std::make_unique<control_session>(
        *this, [](const std::string& line) { control_send(line.c_str()); },
        control_identity{"txm9-web", version, "page"}, options, CONTROL_FOLDER);
    page_panel().watch_frames(this);
    session_->start();
}

page_control::~page_control() {
    page_panel().watch_frames(nullptr);
}

void page_control::receive(std::string text, bool too_long) {
    if (too_long || text.size() > MOST_LINE_BYTES) {
        pending_.push_back(request_line{std::string(), true});
    } else {
        pending_.push_back(request_line{std::move(text), false});
    }
    // What cannot wait for the instrument goes at once: a question, a mistake, or anything
    // behind a request under way (the session keeps it for its turn).
    take_lines(false);
}

bool page_control::pending() const {
    return !pending_.empty();
}

void page_control::take() {
    if (running()) {
        return; // the run's next frame takes them
    }
    take_lines(true);
}

void page_control::take_lines(bool may_do) {
    while (!pending_.empty()) {
        if (page_panel().session().play_keeps_time()) {
            if (const std::optional<std::string> refusal = refusal_during_play(pending_.front())) {
                control_send(refusal->c_str());
                pending_.pop_front();
                continue;
            }
        }
        if (!may_do && !session_->busy() && asks_to_do(pending_.front())) {
            break;
        }
        const request_line line = std::move(pending_.front());
        pending_.pop_front();
        session_->receive(line);
    }
    // A program waiting for a request keeps the frames at their pace, so that its replies do
    // not wait for a still display's late frames.
    page_panel().frontend().set_watched(busy());
}

void page_control::went_off() {
    if (running()) {
        return;
    }
    session_->poll();
    take_lines(true);
}

std::optional<uint64_t> page_control::wait_ms() const {
    if (running()) {
        return std::nullopt;
    }
    const std::optional<uint64_t> at = session_->resume_at();
    return at ? std::optional<uint64_t>(*at - std::min(*at, ms_)) : std::nullopt;
}

void page_control::wait_over() {
    if (running()) {
        wait_over_ = true;
        return;
    }
    resume();
    take_lines(true);
}

void page_control::resume() {
    wait_over_ = false;
    if (const std::optional<uint64_t> at = session_->resume_at()) {
        ms_ = std::max(ms_, *at);
        session_->resume();
    }
}

bool page_control::busy() const {
    return session_->busy() || !pending_.empty();
}

void page_control::shown(const frame_report& frame) {
    session_->frame_shown(frame);
}

void page_control::delivered() {
    ms_ += FRAME_MS;
    session_->frame_delivered();
    if (wait_over_) {
        resume();
    }
    take_lines(true);
}

} // namespace txm9
