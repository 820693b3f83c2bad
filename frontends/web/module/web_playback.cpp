#include "web_playback.h"

#include <emscripten.h>

#include "scenario/message_text.h"
#include "scenario/play_status.h"
#include "scenario/scenario_parser.h"
#include "web_panel.h"

namespace txm9 {

namespace {

// The page's side of a play: page.js fills these in with the panel's controls.
EM_JS(void, play_program_start, (), { Module.page.programStart(); });
EM_JS(void, play_status, (const char* text), { Module.page.playStatus(UTF8ToString(text)); });

// The play's own folder in the module's memory: its screenshots, and the references it
// compares with when an earlier screenshot of it took them.
constexpr const char* PLAY_FOLDER = "/panel-play";

web_frontend& frontend() {
    return page_panel().frontend();
}
panel_session& session() {
    return page_panel().session();
}

} // namespace

web_playback::web_playback() {
    options_.keep_going = true;
    options_.observer = this;
    options_.out_dir = PLAY_FOLDER;
}

std::optional<std::string> web_playback::load(std::string_view text) {
    auto script = std::make_unique<scenario>();
    script->file = "playground.scenario";
    script->folder = PLAY_FOLDER;
    parse_error mistake;
    if (!parse_scenario(text, *script, mistake)) {
        return script->file + ":" + std::to_string(mistake.place.line) + ":" +
               std::to_string(mistake.place.column) + ": " + mistake.message;
    }
    player_.reset();
    script_ = std::move(script);
    return std::nullopt;
}

void web_playback::start() {
    session().program_start();
    frontend().set_boxes(false, false);
    play_program_start();
    session().restart_play_clock();
    passed_ = failed_ = 0;
    player_ = std::make_unique<scenario_player>(*script_, options_, *this);
    watching_ = true;
    session().hand_time_to(this);
    player_->start();
}

void web_playback::resume() {
    if (!watching_ || !player_->resume_at()) {
        return;
    }
    // With the ticks that fall in the time waited.
    session().play_clock().advance_to(*player_->resume_at());
    player_->resume();
}

void web_playback::stop() {
    if (player_) {
        player_->stop();
    }
    hand_over();
}

void web_playback::hand_over() {
    watching_ = false;
    session().hand_time_to(nullptr);
}

std::optional<uint64_t> web_playback::wait_ms() const {
    if (!watching_ || !player_) {
        return std::nullopt;
    }
    const std::optional<uint64_t> at = player_->resume_at();
    const uint64_t now = session().play_clock().now_ms();
    return at ? std::optional<uint64_t>(*at > now ? *at - now : 0) : std::nullopt;
}

bool web_playback::finished() const {
    return !player_ || player_->finished();
}

scenario_outcome web_playback::conclude() {
    hand_over();
    return player_->conclude();
}

int web_playback::line() const {
    return player_ ? player_->line() : 0;
}

void web_playback::shown(const frame_report& frame) {
    if (watching_) {
        player_->frame_shown(frame);
    }
}

void web_playback::delivered() {
    if (!watching_) {
        return;
    }
    session().play_clock().deliver(); // 25 ms of instrument time, a tick every fourth frame
    player_->frame_delivered();
    // One that cannot go on ends here and leaves the instrument running, the panel handed over.
    if (player_->finished() && player_->outcome().status == outcome_status::cannot_run) {
        play_status(valid_utf8(played_status("", 1, player_->outcome())).c_str());
        hand_over();
    }
}

uint64_t web_playback::now_ms() const {
    return session().play_clock().now_ms();
}

void web_playback::expectation_checked(const command& c, bool passed, const std::string& failure) {
    (passed ? passed_ : failed_) += 1;
    play_status(valid_utf8(expectation_status("", c.place.line, passed, failure, passed_, failed_))
                    .c_str());
}

} // namespace txm9
