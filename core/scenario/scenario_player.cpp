#include "scenario/scenario_player.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "engine/instrument_variables.h"
#include "engine/lcd_dump.h"
#include "engine/timing.h"
#include "files/made_folders.h"
#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "lcd_reader/lcd_text_reader.h"
#include "picture_files/pbm_text.h"
#include "scenario/frame_files.h"
#include "scenario/message_text.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_parser.h"
#include "scenario/slider_counts.h"
#include "scenario/written_names.h"

namespace txm9 {

namespace {

// An ON inside a run nests the whole run; deeper than this a scenario is surely a mistake.
constexpr int MOST_NESTED_RUNS = 8;

// Ends the play from wherever it is inside the player.
struct scenario_stop {
    outcome_status status;
    std::string message;
};

std::string format_ms(uint64_t ms) {
    if (ms % 1000 == 0) {
        return std::to_string(ms / 1000) + " s";
    }
    return std::to_string(ms) + " ms";
}

std::string format_seconds(double s) {
    std::ostringstream out;
    out << s << " s";
    return out.str();
}

bool compare(int64_t a, comparison op, int64_t b) {
    switch (op) {
    case comparison::equal:
        return a == b;
    case comparison::not_equal:
        return a != b;
    case comparison::less:
        return a < b;
    case comparison::less_equal:
        return a <= b;
    case comparison::greater:
        return a > b;
    case comparison::greater_equal:
        return a >= b;
    }
    return false;
}

const char* op_text(comparison op) {
    static const char* const texts[] = {"==", "!=", "<", "<=", ">", ">="};
    return texts[static_cast<int>(op)];
}

std::string tenths(int64_t v, const char* unit) {
    const int64_t m = v < 0 ? -v : v;
    return (v < 0 ? "-" : "") + std::to_string(m / 10) + "." + std::to_string(m % 10) + " " + unit;
}

} // namespace

class scenario_player::impl {
public:
    impl(const scenario& script, const player_options& options, scenario_panel& panel)
        : script_(script), options_(options),
          out_dir_(options.out_dir.empty() ? script.folder : options.out_dir), panel_(panel) {}

    void start() {
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

    void frame_shown(const frame_report& frame) {
        if (frame.phase == panel_phase::running) {
            ++outcome_.passes;
        }
        if (options_.observer != nullptr) {
            options_.observer->frame_shown(frame, panel_.engine());
        }
    }

    void frame_delivered() {
        guarded([this] { deliver(); });
        if (options_.observer != nullptr) {
            options_.observer->events_delivered(panel_.engine());
        }
    }

    std::optional<uint64_t> resume_at() const {
        return !stopped_ && wait_ == waiting::off_time ? std::optional<uint64_t>(until_ms_)
                                                       : std::nullopt;
    }

    void resume() {
        guarded([this] {
            if (resume_at() && panel_.now_ms() >= until_ms_) {
                wait_ = waiting::none;
                run_commands();
            }
        });
    }

    void stop() { stopped_ = true; }

    bool finished() const { return stopped_ || over(); }

    scenario_outcome outcome() const {
        scenario_outcome o = outcome_;
        o.instrument_ms = panel_.now_ms();
        return o;
    }

    scenario_outcome conclude() {
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

    int line() const { return at_ == 0 ? 0 : script_.commands[at_ - 1].place.line; }

    void play_added() {
        guarded([this] {
            check_written_references(); // the lines added may name references to write
            run_commands();
        });
    }

    bool idle() const { return !stopped_ && over() && !run_ending(); }

    session_step take_session_step() {
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

private:
    // off_time: instrument time passing while the instrument is off, which the frontend lets
    // pass before it resumes the play.
    enum class waiting { none, until_ms, frames, splash_over, text, turning, off_time };

    // Runs a step of the play; a failure that stops it, or a scenario that cannot run, ends
    // the play where it is.
    template <typename step> void guarded(step run) {
        try {
            run();
        } catch (const scenario_stop& stop) {
            if (options_.session && !outcome_.interrupted) {
                // Only the commands added with the one that stopped are given up.
                session_error_ = stop;
                at_ = script_.commands.size();
                wait_ = waiting::none;
                return;
            }
            outcome_.status = stop.status;
            outcome_.message = stop.message;
            stopped_ = true;
        }
    }

    // The last command is done and nothing waits.
    bool over() const { return at_ >= script_.commands.size() && wait_ == waiting::none; }

    void deliver() {
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

    bool running() const { return panel_.engine().depth() > 0; }
    // OFF has been asked for and the run will end before its next pass: the commands wait
    // until it has. In the splash an OFF is forgotten, and the commands go on.
    bool run_ending() const {
        return power_off_request != 0 && panel_.engine().phase() == panel_phase::running;
    }
    // OFF, unless it has been asked for already (it stands through the splash).
    void switch_off_once() {
        if (power_off_request == 0) {
            panel_.switch_off();
        }
    }

    // Runs commands until one has to let instrument time pass or an OFF is on its way.
    void run_commands() {
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
    void check_real_time() {
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

    // On each delivery while a command waits: whether it is done.
    bool wait_over() {
        switch (wait_) {
        case waiting::none:
            return true;
        case waiting::until_ms:
            if (panel_.now_ms() < until_ms_) {
                return false;
            }
            break;
        case waiting::frames:
            if (--frames_left_ > 0) {
                return false;
            }
            break;
        case waiting::splash_over:
            if (panel_.engine().phase() != panel_phase::running ||
                panel_.engine().passes_since_on() == 0) {
                return false;
            }
            break;
        case waiting::text:
            if (!screen_shows(waiting_for_->text)) {
                if (panel_.now_ms() < until_ms_) {
                    return false;
                }
                fail(*waiting_for_, "\"" + cut_for_message(waiting_for_->text, 60) +
                                        "\" did not show within " +
                                        format_ms(ms_of(waiting_for_->time)));
            } else {
                passed(*waiting_for_);
            }
            break;
        case waiting::turning:
            panel_.press(turning_->key);
            if (--turns_left_ > 0) {
                return false;
            }
            after_key(*turning_);
            return wait_ == waiting::none;
        case waiting::off_time:
            return false;
        }
        wait_ = waiting::none;
        return true;
    }

    // After a key while the instrument runs: two frames (the pass that takes it, the one that
    // shows it), or the time the command gives, none at all for another key at once.
    void after_key(const command& c) {
        wait_ = waiting::none;
        if (!c.has_time) {
            wait_for_frames(2);
        } else if (const uint64_t ms = ms_of(c.time); ms > 0) {
            wait_ = waiting::until_ms;
            until_ms_ = panel_.now_ms() + ms;
        }
    }

    void wait_for_frames(uint64_t frames) {
        wait_ = waiting::frames;
        frames_left_ = frames;
    }

    uint64_t ms_of(const duration& d) const { return d.in_passes ? d.amount * FRAME_MS : d.amount; }

    // A wait that a run's end cut short goes on with the instrument off.
    void finish_wait_while_off() {
        switch (wait_) {
        case waiting::until_ms:
            wait_ = waiting::off_time;
            return;
        case waiting::frames:
            wait_ = waiting::off_time;
            until_ms_ = panel_.now_ms() + frames_left_ * FRAME_MS;
            return;
        case waiting::text:
            wait_ = waiting::none;
            fail(*waiting_for_, "the instrument went off before \"" +
                                    cut_for_message(waiting_for_->text, 60) + "\" showed");
            return;
        default:
            wait_ = waiting::none;
            return;
        }
    }

    void execute(const command& c) {
        if (options_.observer != nullptr) {
            options_.observer->command_started(c);
        }
        switch (c.kind) {
        case command_kind::on:
            switch_on(c);
            break;
        case command_kind::off:
            if (panel_.engine().phase() == panel_phase::splash) {
                outcome_.notices.push_back(where(c) +
                                           "OFF during the splash is forgotten, as on the "
                                           "instrument");
            }
            panel_.switch_off();
            break;
        case command_kind::press:
            panel_.press(c.key);
            if (running()) {
                after_key(c);
            }
            break;
        case command_kind::turn:
            panel_.press(c.key);
            if (!running()) {
                for (uint32_t n = 1; n < c.count; ++n) {
                    panel_.press(c.key);
                }
            } else if (c.count > 1) {
                wait_ = waiting::turning;
                turning_ = &c;
                turns_left_ = c.count - 1;
            } else {
                after_key(c);
            }
            break;
        case command_kind::volts:
        case command_kind::amps:
            move_slider(c);
            break;
        case command_kind::calibrate_box:
            panel_.set_calibrate(c.flag);
            break;
        case command_kind::key_fast_box:
            panel_.set_key_fast(c.flag);
            break;
        case command_kind::wait:
            wait_ = running() ? waiting::until_ms : waiting::off_time;
            until_ms_ = panel_.now_ms() + ms_of(c.time);
            break;
        case command_kind::wait_until_text:
            if (screen_shows(c.text)) {
                passed(c);
                break;
            }
            if (!running()) {
                fail(c, "\"" + cut_for_message(c.text, 60) +
                            "\" is not on the display, and the instrument is off");
                break;
            }
            wait_ = waiting::text;
            waiting_for_ = &c;
            until_ms_ = panel_.now_ms() + ms_of(c.time);
            break;
        case command_kind::screenshot:
        case command_kind::print:
            check(c);
            break;
        default: {
            const int failed_before = outcome_.failed;
            check(c);
            if (outcome_.failed == failed_before) {
                passed(c);
            }
            break;
        }
        }
    }

    void switch_on(const command& c) {
        if (panel_.engine().depth() >= MOST_NESTED_RUNS) {
            cannot_run(c, "more than " + std::to_string(MOST_NESTED_RUNS) + " nested runs");
        }
        if (c.has_time) {
            wait_ = waiting::until_ms;
            until_ms_ = panel_.now_ms() + ms_of(c.time);
        } else {
            wait_ = waiting::splash_over;
        }
        const run_end end = panel_.switch_on();
        if (options_.observer != nullptr) {
            options_.observer->run_ended(end);
        }
        if (stopped_) {
            return; // the play ended during the run
        }
        if (end.faulted) {
            last_fault_ = end.fault;
            // Named at the command last carried out, the one whose time saw the fault.
            outcome_.notices.push_back(where(script_.commands[at_ - 1]) +
                                       "the run ended with the instrument's fault \"" + end.fault +
                                       "\"");
        }
        if (!running()) {
            finish_wait_while_off();
        }
    }

    void move_slider(const command& c) {
        const bool volts = c.kind == command_kind::volts;
        uint32_t count = c.count;
        if (c.has_value) {
            const count_for_value found =
                volts ? volts_count(c.value, running()) : amps_count(c.value, running());
            if (!found.reachable) {
                const char* unit = volts ? "V" : "A";
                cannot_run(c, "no count reads " + tenths(c.value, unit) + "; the nearest is " +
                                  tenths(found.nearest, unit) + " at count " +
                                  std::to_string(found.count));
            }
            count = found.count;
        }
        if (volts) {
            panel_.set_volts(count);
        } else {
            panel_.set_amps(count);
        }
    }

    void check(const command& c) {
        switch (c.kind) {
        case command_kind::expect_text: {
            const std::optional<bool> shade = c.flag ? std::optional<bool>(true) : std::nullopt;
            if (screen_shows(c.text, shade) == c.negated) {
                fail(c, std::string(c.negated ? "expected no text \"" : "expected text \"") +
                            cut_for_message(c.text, 60) + "\"" + (c.flag ? " inverted" : "") +
                            " on the display");
            }
            break;
        }
        case command_kind::expect_screen:
            if (active_screen != screen_named(c.name)) {
                fail(c, "expected screen " + c.name + ", the active screen is " +
                            screen_name(active_screen));
            }
            break;
        case command_kind::expect_lamp:
            if (panel_.lamp_lit() != c.flag) {
                fail(c, std::string("expected the lamp ") + (c.flag ? "lit" : "unlit") +
                            ", it is " + (panel_.lamp_lit() ? "lit" : "unlit"));
            }
            break;
        case command_kind::expect_variable: {
            const int64_t value = find_instrument_variable(c.name)->read();
            if (!compare(value, c.op, c.value)) {
                fail(c, "expected " + c.name + " " + op_text(c.op) + " " + std::to_string(c.value) +
                            ", it is " + std::to_string(value));
            }
            break;
        }
        case command_kind::expect_fault:
            if (running() || last_fault_ != c.text) {
                fail(c, "expected the run to have ended with the fault \"" +
                            cut_for_message(c.text, 60) + "\"; " +
                            (running()             ? std::string("the instrument is running")
                             : last_fault_.empty() ? std::string("no run ended with a fault")
                                                   : "the last fault was \"" + last_fault_ + "\""));
            }
            break;
        case command_kind::expect_frame:
            if (options_.files) {
                check_frame(c);
            }
            break;
        case command_kind::screenshot:
            if (options_.files) {
                plan_picture(c, in_folder(out_dir_, c.path), static_cast<int>(c.count));
            }
            break;
        case command_kind::print:
            if (options_.print_to != nullptr || options_.session) {
                printed_ << where(c) << "the display:\n" << lcd_dump();
            }
            break;
        default:
            break;
        }
    }

    void check_frame(const command& c) {
        const std::string reference = in_folder(script_.folder, c.path);
        if (options_.update) {
            plan_picture(c, reference, 1, where(c) + "wrote " + reference);
            return;
        }
        const argb_picture expected = reference_for(c, reference);
        const frame_check result = compare_display_with(expected);
        if (result.differing == 0) {
            return;
        }
        const std::string prefix = failure_prefix(c);
        std::array<argb_picture, 3> pictures = mismatch_pictures(expected);
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            files_.push_back(
                {&c, prefix + MISMATCH_SUFFIXES[i], std::move(pictures[i]), 1, true, {}});
        }
        fail(c, "the display differs from " + reference + " in " +
                    std::to_string(result.differing) + " pixels, the first at (" +
                    std::to_string(result.first_x) + ", " + std::to_string(result.first_y) + "); " +
                    "see " + prefix + ".actual.png, .expected.png and .diff.png");
    }

    // With --update the references are written, beside the scenario: none may leave its
    // folder. Without it they are only read, from wherever they are.
    void check_written_references() const {
        if (!options_.files || !options_.update) {
            return;
        }
        for (const command& c : script_.commands) {
            if (c.kind != command_kind::expect_frame) {
                continue;
            }
            if (const std::string why = leaves_its_folder(c.path); !why.empty()) {
                throw scenario_stop{outcome_status::cannot_run,
                                    script_.file + ":" + std::to_string(c.place.line) + ":" +
                                        std::to_string(c.path_column) +
                                        ": --update writes a reference inside the scenario's "
                                        "folder, and '" +
                                        cut_for_message(c.path) + "' cannot be: " + why};
            }
        }
    }

    // Every reference frame is read before anything runs: one that is missing, unreadable or
    // of another size is a mistake in the scenario. A reference that an earlier screenshot of
    // the scenario takes is that screenshot.
    void read_references() {
        if (!options_.files || options_.update) {
            return;
        }
        std::set<std::string> shot;
        for (const command& c : script_.commands) {
            if (c.kind == command_kind::screenshot) {
                shot.insert(same_path(in_folder(out_dir_, c.path)));
            } else if (c.kind == command_kind::expect_frame) {
                const std::string reference = in_folder(script_.folder, c.path);
                if (shot.contains(same_path(reference))) {
                    continue;
                }
                const std::string problem = read_reference(reference, references_[&c]);
                if (!problem.empty()) {
                    cannot_run(c, problem);
                }
            }
        }
    }

    // The reference of an `expect frame`: read before the scenario ran, or the latest
    // screenshot it took under that name.
    argb_picture reference_for(const command& c, const std::string& reference) {
        if (const auto read = references_.find(&c); read != references_.end()) {
            return read->second;
        }
        if (options_.session) {
            argb_picture picture;
            if (const std::string problem = read_reference(reference, picture); !problem.empty()) {
                cannot_run(c, problem);
            }
            return picture;
        }
        for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
            if (!f->explains_failure && same_path(f->path) == same_path(reference)) {
                const argb_picture shot = enlarged(f->picture, f->scale);
                if (shot.width != LCD_WIDTH || shot.height != LCD_HEIGHT) {
                    cannot_run(c, "the reference frame " + reference + " is " +
                                      std::to_string(shot.width) + " x " +
                                      std::to_string(shot.height) +
                                      ", not the display's 114 x 64 (take it with scale 1)");
                }
                return shot;
            }
        }
        cannot_run(c, "no reference frame " + reference);
    }

    static std::string same_path(const std::string& path) {
        return std::filesystem::path(path).lexically_normal().string();
    }

    // The failure pictures' common start: the reference's name in the output folder, with a
    // number when an earlier failure of this run (another scenario's reference of the same
    // name) already took it.
    std::string failure_prefix(const command& c) {
        std::set<std::string> own;
        std::set<std::string>& taken =
            options_.failure_names != nullptr ? *options_.failure_names : own;
        const std::string base = in_folder(out_dir_, std::filesystem::path(c.path).stem().string());
        std::string prefix = base;
        for (int n = 2; taken.contains(prefix); ++n) {
            prefix = base + "." + std::to_string(n);
        }
        taken.insert(prefix);
        return prefix;
    }

    static std::string in_folder(const std::string& folder, const std::string& path) {
        const std::filesystem::path p(path);
        return (p.is_absolute() || folder.empty() ? p : std::filesystem::path(folder) / p).string();
    }

    // The display as a picture file, to be written once the scenario is over; `notice` says
    // so once it is.
    void plan_picture(const command& c, const std::string& path, int scale,
                      std::string notice = {}) {
        files_.push_back({&c, path, display_picture(), scale, false, std::move(notice)});
    }

    // Writes the files the scenario made, in order, each in its folder (made if missing). A
    // file that cannot be written stops the rest: a screenshot or reference makes the scenario
    // one that cannot run, a failure picture adds its reason to the failure.
    void write_files() {
        made_folders made; // removed again, when empty, if a file cannot be written
        for (const planned_file& f : files_) {
            const std::filesystem::path parent = std::filesystem::path(f.path).parent_path();
            std::string error = parent.empty() ? std::string() : made.make(parent.string());
            if (!error.empty()) {
                error = "cannot write " + f.path + ": cannot make the folder " + parent.string() +
                        ": " + error;
            } else if (is_pbm_name(f.path)) {
                error = write_pbm_file(f.path, enlarged(f.picture, f.scale));
            } else {
                error = write_png_file(f.path, enlarged(f.picture, f.scale));
            }
            if (error.empty()) {
                if (!f.notice.empty()) {
                    outcome_.notices.push_back(f.notice);
                }
                continue;
            }
            const std::string place = script_.file + ":" + std::to_string(f.by->place.line) + ":" +
                                      std::to_string(f.by->place.column) + ": ";
            if (f.explains_failure) {
                outcome_.message += place + error + "\n";
            } else {
                const std::string before = outcome_.status == outcome_status::failed
                                               ? "\nand before that: FAIL " + outcome_.message
                                               : std::string();
                outcome_.status = outcome_status::cannot_run;
                outcome_.message = place + error + before;
            }
            made.remove_empty();
            return;
        }
    }

    std::string where(const command& c) const {
        if (options_.session && script_.file.empty()) {
            return "line " + std::to_string(c.place.line) + ": ";
        }
        return script_.file + ":" + std::to_string(c.place.line) + ": ";
    }

    void passed(const command& c) {
        ++outcome_.expectations;
        if (options_.observer != nullptr) {
            options_.observer->expectation_checked(c, true, std::string());
        }
    }

    // A failed expectation ends the play, or with keep_going is counted, the first one kept
    // as the outcome's message, and the play goes on.
    void fail(const command& c, const std::string& what) {
        std::string texts = describe_screen_texts();
        const std::string message = where(c) + what + "\nthe display reads:\n" +
                                    (texts.empty() ? "  (no readable text)\n" : texts) + "at " +
                                    format_ms(panel_.now_ms()) + " of instrument time (" +
                                    (running() ? "on" : "off") + "), the display:\n" + lcd_dump();
        ++outcome_.expectations;
        ++outcome_.failed;
        if (options_.observer != nullptr) {
            options_.observer->expectation_checked(c, false, where(c) + what);
        }
        if (options_.session) {
            // The client reads the display for itself; the message says what failed.
            throw scenario_stop{outcome_status::failed, where(c) + what};
        }
        if (!options_.keep_going) {
            throw scenario_stop{outcome_status::failed, message};
        }
        if (outcome_.status == outcome_status::passed) {
            outcome_.status = outcome_status::failed;
            outcome_.message = message;
        }
    }

    [[noreturn]] void cannot_run(const command& c, const std::string& what) const {
        if (options_.session && script_.file.empty()) {
            throw scenario_stop{outcome_status::cannot_run, where(c) + what};
        }
        throw scenario_stop{outcome_status::cannot_run,
                            script_.file + ":" + std::to_string(c.place.line) + ":" +
                                std::to_string(c.place.column) + ": " + what};
    }

    // A file the scenario made, written once it is over.
    struct planned_file {
        const command* by;
        std::string path;
        argb_picture picture;  // the display at its own size
        int scale;             // written this many times as large
        bool explains_failure; // a failure picture
        std::string notice;    // said once it is written
    };

    const scenario& script_;
    const player_options& options_;
    const std::string out_dir_;
    scenario_panel& panel_;
    scenario_outcome outcome_;
    bool stopped_ = false;
    std::chrono::steady_clock::time_point started_;
    uint64_t deliveries_ = 0;
    std::size_t at_ = 0;
    waiting wait_ = waiting::none;
    uint64_t until_ms_ = 0;
    uint64_t frames_left_ = 0;
    uint32_t turns_left_ = 0;
    const command* turning_ = nullptr;
    const command* waiting_for_ = nullptr;
    std::string last_fault_;
    std::optional<scenario_stop> session_error_; // what ended the commands added last
    std::map<const command*, argb_picture> references_;
    std::vector<planned_file> files_;
    std::ostringstream printed_;
};

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
