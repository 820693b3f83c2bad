#include "web_playback.h"

#include <emscripten.h>

#include "engine/panel_colours.h"
#include "engine/program_start.h"
#include "firmware/monitor/tick.h"
#include "scenario/message_text.h"
#include "scenario/play_status.h"
#include "scenario/scenario_parser.h"
#include "web_exports.h"
#include "web_panel.h"

namespace txm9 {

namespace {

// The page's side of a play: page.js fills these in with the panel's controls.
EM_JS(void, play_program_start, (), { Module.page.programStart(); });
EM_JS(void, play_show_pressed, (int key), { Module.page.showPressed(key); });
EM_JS(void, play_press_button, (const char* id), { Module.page.pressButton(UTF8ToString(id)); });
EM_JS(void, play_set_slider, (int amps, int count), { Module.page.setSlider(amps != 0, count); });
EM_JS(void, play_set_box, (int key_fast, int ticked),
      { Module.page.setBox(key_fast != 0, ticked != 0); });
EM_JS(void, play_status, (const char* text), { Module.page.playStatus(UTF8ToString(text)); });
// The fault's message box closes by itself after a while, so that a demonstration goes on.
EM_JS(void, play_fault, (const char* message), { Module.page.fault(UTF8ToString(message), 3000); });

// The play's own folder in the module's memory: its screenshots, and the references it
// compares with when an earlier screenshot of it took them.
constexpr const char* PLAY_FOLDER = "/panel-play";

web_frontend& frontend() {
    return web_panel::frontend;
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
    program_start_state();
    frontend().program_start();
    play_program_start();
    clock_ = std::make_unique<virtual_clock>([] { tick(); });
    passed_ = failed_ = 0;
    player_ = std::make_unique<scenario_player>(*script_, options_, *this);
    watching_ = true;
    frontend().watch_frames(this);
    player_->start();
}

void web_playback::resume() {
    if (!watching_ || !player_->resume_at()) {
        return;
    }
    clock_->advance_to(*player_->resume_at()); // with the ticks that fall in the time waited
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
    frontend().watch_frames(nullptr);
}

std::optional<uint64_t> web_playback::wait_ms() const {
    if (!watching_ || !player_) {
        return std::nullopt;
    }
    const std::optional<uint64_t> at = player_->resume_at();
    return at ? std::optional<uint64_t>(*at > clock_->now_ms() ? *at - clock_->now_ms() : 0)
              : std::nullopt;
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
    clock_->deliver(); // 25 ms of instrument time, the tick on every fourth frame
    player_->frame_delivered();
    // One that cannot go on ends here and leaves the instrument running, the panel handed over.
    if (player_->finished() && player_->outcome().status == outcome_status::cannot_run) {
        play_status(valid_utf8(played_status("", 1, player_->outcome())).c_str());
        hand_over();
    }
}

void web_playback::press(uint8_t key) {
    txm9_key(key);
    play_show_pressed(key);
}

void web_playback::set_volts(uint32_t count) {
    play_set_slider(0, static_cast<int>(count));
    txm9_volts(static_cast<int>(count));
}

void web_playback::set_amps(uint32_t count) {
    play_set_slider(1, static_cast<int>(count));
    txm9_amps(static_cast<int>(count));
}

void web_playback::set_calibrate(bool ticked) {
    play_set_box(0, ticked ? 1 : 0);
    txm9_boxes(ticked ? 1 : 0, frontend().key_fast_ticked() ? 1 : 0);
}

void web_playback::set_key_fast(bool ticked) {
    play_set_box(1, ticked ? 1 : 0);
    txm9_boxes(frontend().calibrate_ticked() ? 1 : 0, ticked ? 1 : 0);
}

// ON as the page's button does it, but at the speed chosen beside the panel: a play keeps it.
run_end web_playback::switch_on() {
    play_press_button("Button1");
    frontend().session().on_clicked(web_panel::ms_since_start(), web_panel::run_goes_on());
    if (!web_panel::running()) {
        frontend().restart_schedule();
    }
    const run_end end = web_panel::engine.power_on();
    if (end.faulted) {
        play_fault(end.fault.c_str());
    }
    return end;
}

void web_playback::switch_off() {
    play_press_button("Button2");
    txm9_power_off();
}

bool web_playback::lamp_lit() const {
    return frontend().lamp_lit();
}

const front_panel& web_playback::engine() const {
    return web_panel::engine;
}

uint64_t web_playback::now_ms() const {
    return clock_->now_ms();
}

void web_playback::expectation_checked(const command& c, bool passed, const std::string& failure) {
    (passed ? passed_ : failed_) += 1;
    play_status(valid_utf8(expectation_status("", c.place.line, passed, failure, passed_, failed_))
                    .c_str());
}

} // namespace txm9
