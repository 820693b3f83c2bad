#include "scenario/scenario_player.h"

#include <filesystem>

#include "engine/instrument_variables.h"
#include "engine/lcd_dump.h"
#include "engine/timing.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "lcd_reader/lcd_text_reader.h"
#include "scenario/frame_files.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_parser.h"
#include "scenario/slider_counts.h"

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
        if (options_.observer != nullptr) {
            options_.observer->scenario_started(script_);
        }
        guarded([this] { run_commands(); });
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

    bool finished() const {
        return stopped_ || (at_ >= script_.commands.size() && wait_ == waiting::none);
    }

    scenario_outcome outcome() const {
        scenario_outcome o = outcome_;
        o.instrument_ms = panel_.now_ms();
        return o;
    }

    int line() const { return at_ == 0 ? 0 : script_.commands[at_ - 1].place.line; }

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
            outcome_.status = stop.status;
            outcome_.message = stop.message;
            stopped_ = true;
        }
    }

    void deliver() {
        if (options_.time_limit_ms != 0 && panel_.now_ms() > options_.time_limit_ms) {
            throw scenario_stop{outcome_status::cannot_run,
                                script_.file + ": stopped at the limit of " +
                                    format_ms(options_.time_limit_ms) + " of instrument time"};
        }
        if (finished() || power_off_request != 0 || !wait_over()) {
            return;
        }
        run_commands();
    }

    bool running() const { return panel_.engine().depth() > 0; }

    // Runs commands until one has to let instrument time pass or an OFF is on its way.
    void run_commands() {
        while (!stopped_ && at_ < script_.commands.size() && wait_ == waiting::none) {
            if (running() && power_off_request != 0) {
                return;
            }
            execute(script_.commands[at_++]);
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
                fail(*waiting_for_, "\"" + waiting_for_->text + "\" did not show within " +
                                        format_ms(ms_of(waiting_for_->time)));
            } else {
                passed(*waiting_for_);
            }
            break;
        case waiting::turning:
            panel_.press(turn_key_);
            if (--turns_left_ == 0) {
                wait_for_frames(2);
            }
            return false;
        case waiting::off_time:
            return false;
        }
        wait_ = waiting::none;
        return true;
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
            fail(*waiting_for_,
                 "the instrument went off before \"" + waiting_for_->text + "\" showed");
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
                wait_for_frames(2); // taken by the next pass, shown by the one after
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
                turn_key_ = c.key;
                turns_left_ = c.count - 1;
            } else {
                wait_for_frames(2);
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
                fail(c, "\"" + c.text + "\" is not on the display, and the instrument is off");
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
                            c.text + "\"" + (c.flag ? " inverted" : "") + " on the display");
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
                fail(c, "expected the run to have ended with the fault \"" + c.text + "\"; " +
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
        case command_kind::screenshot: {
            if (!options_.files) {
                break;
            }
            const std::string path = in_folder(out_dir_, c.path);
            const std::string error =
                write_display_png(with_folder(path), static_cast<int>(c.count));
            if (!error.empty()) {
                cannot_run(c, error);
            }
            break;
        }
        case command_kind::print:
            if (options_.print_to != nullptr) {
                *options_.print_to << where(c) << "the display:\n" << lcd_dump();
            }
            break;
        default:
            break;
        }
    }

    void check_frame(const command& c) {
        const std::string reference = in_folder(script_.folder, c.path);
        if (options_.update) {
            const std::string error = write_display_png(with_folder(reference), 1);
            if (!error.empty()) {
                cannot_run(c, error);
            }
            outcome_.notices.push_back(where(c) + "wrote " + reference);
            return;
        }
        const frame_check result = compare_display_with(reference);
        if (!result.readable) {
            fail(c, result.problem);
        }
        if (result.differing == 0) {
            return;
        }
        const std::string prefix =
            in_folder(out_dir_, std::filesystem::path(c.path).stem().string());
        const std::string error = write_mismatch_pictures(reference, with_folder(prefix));
        fail(c, "the display differs from " + reference + " in " +
                    std::to_string(result.differing) + " pixels, the first at (" +
                    std::to_string(result.first_x) + ", " + std::to_string(result.first_y) + "); " +
                    (error.empty() ? "see " + prefix + ".actual.png, .expected.png and .diff.png"
                                   : error));
    }

    static std::string in_folder(const std::string& folder, const std::string& path) {
        const std::filesystem::path p(path);
        return (p.is_absolute() || folder.empty() ? p : std::filesystem::path(folder) / p).string();
    }

    // The folder a file is about to be written into, made if it is missing; one that cannot
    // be made fails the write, which says so.
    static const std::string& with_folder(const std::string& file) {
        const std::filesystem::path parent = std::filesystem::path(file).parent_path();
        std::error_code ignored;
        if (!parent.empty()) {
            std::filesystem::create_directories(parent, ignored);
        }
        return file;
    }

    std::string where(const command& c) const {
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
        if (!options_.keep_going) {
            throw scenario_stop{outcome_status::failed, message};
        }
        if (outcome_.status == outcome_status::passed) {
            outcome_.status = outcome_status::failed;
            outcome_.message = message;
        }
    }

    [[noreturn]] void cannot_run(const command& c, const std::string& what) const {
        throw scenario_stop{outcome_status::cannot_run,
                            script_.file + ":" + std::to_string(c.place.line) + ":" +
                                std::to_string(c.place.column) + ": " + what};
    }

    const scenario& script_;
    const player_options& options_;
    const std::string out_dir_;
    scenario_panel& panel_;
    scenario_outcome outcome_;
    std::size_t at_ = 0;
    bool stopped_ = false;
    waiting wait_ = waiting::none;
    uint64_t until_ms_ = 0;
    uint64_t frames_left_ = 0;
    uint32_t turns_left_ = 0;
    uint8_t turn_key_ = 0;
    const command* waiting_for_ = nullptr;
    std::string last_fault_;
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
int scenario_player::line() const {
    return impl_->line();
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
