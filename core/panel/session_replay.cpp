#include "panel/session_replay.h"

#include <string_view>

#include "engine/panel_inputs.h"
#include "firmware/monitor/key_input.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "scenario/scenario_parser.h"

namespace txm9 {

namespace {

const char* key_words(uint8_t code) {
    const int input = input_index(code);
    return input >= 0 ? panel_inputs[input].word : "a key";
}

std::string screen_words(int index) {
    return index >= 0 && index < SCREEN_COUNT ? std::string(screen_list[index].name) + " screen"
                                              : std::string("no screen");
}

// The session as the scenario that replays it exactly, without the expectations the
// recorder adds for a saved session (the display is checked here, against the screen only).
std::string replay_text(const session_handover& h) {
    session_recorder recorder;
    recorder.restore(h.inputs, h.frames);
    std::string text = recorder.scenario_text(h.ms, h.running, "main", "");
    text.erase(text.find("\n# What the display showed"));
    if (h.screen >= 0 && h.screen < SCREEN_COUNT) {
        text += std::string("\nexpect screen ") + screen_list[h.screen].name + "\n";
    }
    return text;
}

} // namespace

std::string session_length_words(uint64_t ms) {
    const uint64_t s = (ms + 500) / 1000;
    if (s < 60) {
        return std::to_string(s) + " s";
    }
    if (s < 3600) {
        return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
    }
    return std::to_string(s / 3600) + " h " + std::to_string(s / 60 % 60) + " min";
}

std::string grouped(uint64_t n) {
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}

session_replay::session_replay(panel_session& session, controls panel,
                               std::function<void(const replay_report&)> caught_up)
    : session_(session), panel_(std::move(panel)), on_caught_up_(std::move(caught_up)) {
    if (!panel_.switch_on) {
        panel_.switch_on = [this] { return session_.power_on(); };
    }
    if (!panel_.set_volts) {
        panel_.set_volts = [this](uint32_t count) { session_.volts(count); };
    }
    if (!panel_.set_amps) {
        panel_.set_amps = [this](uint32_t count) { session_.amps(count); };
    }
    if (!panel_.set_calibrate) {
        panel_.set_calibrate = [this](bool ticked) { session_.calibrate_box(ticked); };
    }
    if (!panel_.set_key_fast) {
        panel_.set_key_fast = [this](bool ticked) { session_.key_fast_box(ticked); };
    }
    options_.keep_going = true; // a display that differs at the end is reported, not fatal
    options_.files = false;
    options_.observer = this;
}

session_replay::~session_replay() {
    if (session_.play_keeps_time()) {
        session_.hand_time_to(nullptr);
    }
}

void session_replay::start(const session_handover& handover) {
    handover_ = handover;
    report_ = {};
    report_.of_inputs = handover_.inputs.size();
    next_ = 0;
    caught_up_ = false;
    script_ = {};
    script_.file = "the session";
    if (parse_error mistake; !parse_scenario(replay_text(handover_), script_, mistake)) {
        // The recorder writes only what the language reads; a mistake is this program's.
        part("the session could not be read back: " + mistake.message);
        catch_up();
        return;
    }
    session_.program_start();
    session_.restart_play_clock();
    session_.hand_time_to(this);
    player_ = std::make_unique<scenario_player>(script_, options_, *this);
    player_->start();
    // Time waited while the instrument is off passes at once.
    while (!caught_up_ && !player_->finished()) {
        const std::optional<uint64_t> at = player_->resume_at();
        if (!at) {
            break;
        }
        session_.play_clock().advance_to(*at);
        player_->resume();
    }
    if (!caught_up_) {
        catch_up();
    }
}

bool session_replay::follows(session_recorder::kind what, const char* words) {
    if (caught_up_) {
        return false; // live: the panel is the person's, the player has nothing more to give
    }
    if (next_ >= handover_.inputs.size() || handover_.inputs[next_].what != what) {
        part(std::string("the replay gave ") + words + " where the session had another input");
        return false;
    }
    const session_recorder::input& in = handover_.inputs[next_];
    const bool key = what == session_recorder::kind::key;
    if (in.running && session_.engine().depth() > 0) {
        const int now = screen_index(active_screen);
        if (in.screen >= 0 && now != in.screen) {
            part(std::string(words) + (key ? " came to the " : " was set on the ") +
                 screen_words(now) +
                 (key ? ", in the session to the " : ", in the session on the ") +
                 screen_words(in.screen));
            return false;
        }
        if (key && in.stored && pending_key != 0) {
            part(std::string(words) +
                 " was lost (the key slot was full); in the session it was taken");
            return false;
        }
    }
    ++next_;
    return true;
}

void session_replay::part(const std::string& why) {
    if (report_.parted_at == 0) {
        report_.parted_at = next_ + 1;
        report_.parting = why;
    }
    if (player_) {
        player_->stop();
    }
}

void session_replay::press(uint8_t key) {
    if (follows(session_recorder::kind::key, key_words(key))) {
        session_.key(key);
    }
}

void session_replay::set_volts(uint32_t count) {
    if (follows(session_recorder::kind::volts, "the volts slider")) {
        panel_.set_volts(count);
    }
}

void session_replay::set_amps(uint32_t count) {
    if (follows(session_recorder::kind::amps, "the amps slider")) {
        panel_.set_amps(count);
    }
}

void session_replay::set_calibrate(bool ticked) {
    if (follows(session_recorder::kind::calibrate, "the Calibrate box")) {
        panel_.set_calibrate(ticked);
    }
}

void session_replay::set_key_fast(bool ticked) {
    if (follows(session_recorder::kind::key_fast, "the KeyFast box")) {
        panel_.set_key_fast(ticked);
    }
}

run_end session_replay::switch_on() {
    if (!follows(session_recorder::kind::on, "ON")) {
        return {};
    }
    return panel_.switch_on();
}

void session_replay::switch_off() {
    // A play switches off at its end; the session's run goes on, live from here.
    if (!caught_up_ && next_ >= handover_.inputs.size()) {
        catch_up();
        return;
    }
    if (follows(session_recorder::kind::off, "OFF")) {
        session_.power_off();
    }
}

void session_replay::shown(const frame_report& frame) {
    if (!caught_up_) {
        player_->frame_shown(frame);
    }
}

void session_replay::delivered() {
    if (caught_up_) {
        return;
    }
    session_.play_clock().deliver();
    player_->frame_delivered();
    if (player_->finished()) {
        catch_up(); // the run goes on live
    }
}

void session_replay::expectation_checked(const command&, bool passed, const std::string&) {
    if (!passed) {
        next_ = handover_.inputs.size(); // after the last input
        part("the display is on the " + screen_words(screen_index(active_screen)) +
             ", in the session on the " + screen_words(handover_.screen));
    }
}

void session_replay::catch_up() {
    if (caught_up_) {
        return; // a play's OFF at its end came first
    }
    caught_up_ = true;
    if (player_) {
        const scenario_outcome outcome = player_->outcome();
        report_.passes = outcome.passes;
        if (outcome.status == outcome_status::cannot_run && report_.parted_at == 0) {
            report_.parted_at = next_ + 1;
            report_.parting = outcome.message;
        }
    }
    report_.inputs = next_;
    session_.hand_time_to(nullptr);
    // The session goes on recording after the inputs handed over, at their frames and time,
    // whatever this firmware made of them.
    session_.recorder().restore(handover_.inputs, handover_.frames);
    session_.continue_from(handover_.ms);
    if (on_caught_up_) {
        on_caught_up_(report_);
    }
}

} // namespace txm9
