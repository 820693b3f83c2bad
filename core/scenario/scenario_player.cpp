#include "scenario/scenario_player.h"

#include <chrono>
#include <filesystem>
#include <sstream>

#include "engine/lcd_dump.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_parser.h"
#include "scenario/scenario_player_impl.h"

namespace txm9 {

namespace {

std::string format_seconds(double s) {
    std::ostringstream out;
    out << s << " s";
    return out.str();
}

} // namespace

void scenario_player::impl::start() {
    started_ = std::chrono::steady_clock::now();
    if (options_.observer != nullptr) {
        options_.observer->scenario_started(script_);
    }
    guarded([this] {
        check_written_references();
        read_references();
        run_commands();
    });
}

void scenario_player::impl::frame_shown(const frame_report& frame) {
    if (frame.phase == panel_phase::running) {
        ++outcome_.passes;
    }
    if (options_.observer != nullptr) {
        options_.observer->frame_shown(frame, panel_.engine());
    }
}

void scenario_player::impl::frame_delivered() {
    guarded([this] { deliver(); });
    if (options_.observer != nullptr) {
        options_.observer->events_delivered(panel_.engine());
    }
}

std::optional<uint64_t> scenario_player::impl::resume_at() const {
    return !stopped_ && wait_ == waiting::off_time ? std::optional<uint64_t>(until_ms_)
                                                   : std::nullopt;
}

void scenario_player::impl::resume() {
    guarded([this] {
        if (resume_at() && panel_.now_ms() >= until_ms_) {
            wait_ = waiting::none;
            run_commands();
        }
    });
}

void scenario_player::impl::went_off() {
    guarded([this] {
        if (stopped_ || running() || wait_ == waiting::none || wait_ == waiting::off_time) {
            return;
        }
        finish_wait_while_off();
        run_commands();
    });
}

scenario_outcome scenario_player::impl::outcome() const {
    scenario_outcome o = outcome_;
    o.instrument_ms = panel_.now_ms();
    return o;
}

scenario_outcome scenario_player::impl::conclude() {
    // A mistake, wherever it was found, leaves no trace of the file: nothing printed,
    // nothing written. An interrupted file leaves none either.
    if (outcome_.status == outcome_status::cannot_run || outcome_.interrupted) {
        outcome_.notices.clear();
        return outcome();
    }
    if (options_.print_to != nullptr) {
        *options_.print_to << printed_.str();
    }
    printed_.str(std::string());
    write_files();
    files_.clear();
    return outcome();
}

void scenario_player::impl::play_added() {
    guarded([this] {
        check_written_references(); // the lines added may name references to write
        run_commands();
    });
}

session_step scenario_player::impl::take_session_step() {
    session_step step;
    const std::optional<scenario_stop> error = std::move(session_error_);
    session_error_.reset();
    // A failure keeps the files made before it and the pictures that explain it; a
    // mistake leaves no trace, as in a file.
    if (!error || error->status == outcome_status::failed) {
        write_files();
    }
    files_.clear();
    step.status = error ? error->status : outcome_.status;
    step.message = error ? error->message : std::string();
    if (!outcome_.message.empty()) {
        step.message += (step.message.empty() ? "" : "\n") + outcome_.message;
    }
    outcome_.status = outcome_status::passed;
    outcome_.message.clear();
    step.notices = std::move(outcome_.notices);
    outcome_.notices.clear();
    step.printed = printed_.str();
    printed_.str(std::string());
    return step;
}

void scenario_player::impl::deliver() {
    if (stopped_) {
        return;
    }
    // Real time and signals are looked at now and then: a pass takes microseconds.
    if ((++deliveries_ & 63) == 0) {
        check_real_time();
    }
    if (options_.time_limit_ms != 0 && panel_.now_ms() > options_.time_limit_ms) {
        throw scenario_stop{outcome_status::cannot_run,
                            script_.file + ": stopped at the limit of " +
                                format_ms(options_.time_limit_ms) + " of instrument time"};
    }
    if (over()) {
        if (!options_.session) {
            switch_off_once(); // the scenario is over: switch off until every run has ended
        }
        return;
    }
    if (run_ending() || !wait_over()) {
        return;
    }
    run_commands();
}

// OFF has been asked for and the run will end before its next pass: the commands wait
// until it has. In the splash an OFF is forgotten, and the commands go on.
bool scenario_player::impl::run_ending() const {
    return power_off_request != 0 && panel_.engine().phase() == panel_phase::running;
}

// OFF, unless it has been asked for already (it stands through the splash).
void scenario_player::impl::switch_off_once() {
    if (power_off_request == 0) {
        panel_.switch_off();
    }
}

// Runs commands until one has to let instrument time pass or an OFF is on its way.
void scenario_player::impl::run_commands() {
    while (!stopped_ && at_ < script_.commands.size() && wait_ == waiting::none) {
        if (run_ending()) {
            return;
        }
        check_real_time();
        execute(script_.commands[at_++]);
    }
    // The scenario is over: OFF before another pass, so that the display and every
    // variable stay as the last command saw them.
    if (!stopped_ && over() && running() && !options_.session) {
        switch_off_once();
    }
}

// A signal stops the scenario at once, unreported; past the real-time limit it fails at
// the command being played.
void scenario_player::impl::check_real_time() {
    if (options_.stop != nullptr && *options_.stop != 0) {
        outcome_.interrupted = true;
        throw scenario_stop{outcome_status::cannot_run, script_.file + ": interrupted"};
    }
    if (options_.real_time_limit_s > 0 &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count() >
            options_.real_time_limit_s) {
        const command& playing = script_.commands[at_ > 0 ? at_ - 1 : 0];
        fail(playing, "still playing after the time limit of " +
                          format_seconds(options_.real_time_limit_s) + " of real time");
        // A limit ends even a play that goes on past failures.
        throw scenario_stop{outcome_.status, outcome_.message};
    }
}
scenario_player::scenario_player(const scenario& script, const player_options& options,
                                 scenario_panel& panel)
    : impl_(std::make_unique<impl>(script, options, panel)) {}
scenario_player::~scenario_player() = default;

void scenario_player::start() {
    impl_->start();
}
void scenario_player::frame_shown(const frame_report& frame) {
    impl_->frame_shown(frame);
}
void scenario_player::frame_delivered() {
    impl_->frame_delivered();
}
std::optional<uint64_t> scenario_player::resume_at() const {
    return impl_->resume_at();
}
void scenario_player::resume() {
    impl_->resume();
}
void scenario_player::went_off() {
    impl_->went_off();
}
void scenario_player::stop() {
    impl_->stop();
}
bool scenario_player::finished() const {
    return impl_->finished();
}
scenario_outcome scenario_player::outcome() const {
    return impl_->outcome();
}
scenario_outcome scenario_player::conclude() {
    return impl_->conclude();
}
int scenario_player::line() const {
    return impl_->line();
}
void scenario_player::play_added() {
    impl_->play_added();
}
bool scenario_player::idle() const {
    return impl_->idle();
}
session_step scenario_player::take_session_step() {
    return impl_->take_session_step();
}

scenario_outcome play_scenario_text(std::string_view text, const std::string& file,
                                    const player_options& options) {
    scenario script;
    script.file = file;
    script.folder = std::filesystem::path(file).parent_path().string();
    parse_error mistake;
    if (!parse_scenario(text, script, mistake)) {
        scenario_outcome outcome;
        outcome.status = outcome_status::cannot_run;
        outcome.message = file + ":" + std::to_string(mistake.place.line) + ":" +
                          std::to_string(mistake.place.column) + ": " + mistake.message;
        return outcome;
    }
    return play_scenario(script, options);
}

} // namespace txm9
