// The player's own state and steps, shared by the files that carry them out: the play's
// course (scenario_player.cpp), the commands and their waits (player_commands.cpp), the
// expectations and their wording (player_expectations.cpp), and references, screenshots and the
// files written (player_files.cpp). Only the player includes it.
#pragma once

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "engine/timing.h"
#include "picture_files/pbm_text.h"
#include "scenario/frame_files.h"
#include "scenario/scenario_player.h"

namespace txm9 {

// Ends the play from wherever it is inside the player.
struct scenario_stop {
    outcome_status status;
    std::string message;
};

// An instrument time for messages: whole seconds as such, anything else in milliseconds.
inline std::string format_ms(uint64_t ms) {
    if (ms % 1000 == 0) {
        return std::to_string(ms / 1000) + " s";
    }
    return std::to_string(ms) + " ms";
}

class scenario_player::impl {
public:
    impl(const scenario& script, const player_options& options, scenario_panel& panel)
        : script_(script), options_(options),
          out_dir_(options.out_dir.empty() ? script.folder : options.out_dir), panel_(panel) {}

    void start();
    void frame_shown(const frame_report& frame);
    void frame_delivered();
    std::optional<uint64_t> resume_at() const;
    void resume();
    void went_off();
    void stop() { stopped_ = true; }
    bool finished() const { return stopped_ || over(); }
    scenario_outcome outcome() const;
    scenario_outcome conclude();
    int line() const { return at_ == 0 ? 0 : script_.commands[at_ - 1].place.line; }
    void play_added();
    bool idle() const { return !stopped_ && over() && !run_ending(); }
    session_step take_session_step();

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

    void deliver();

    bool running() const { return panel_.engine().depth() > 0; }
    // OFF has been asked for and the run will end before its next pass: the commands wait
    // until it has. In the splash an OFF is forgotten, and the commands go on.
    bool run_ending() const;
    // OFF, unless it has been asked for already (it stands through the splash).
    void switch_off_once();

    // Runs commands until one has to let instrument time pass or an OFF is on its way.
    void run_commands();

    // A signal stops the scenario at once, unreported; past the real-time limit it fails at
    // the command being played.
    void check_real_time();

    // On each delivery while a command waits: whether it is done.
    bool wait_over();

    // After a key while the instrument runs: two frames (the pass that takes it, the one that
    // shows it), or the time the command gives, none at all for another key at once.
    void after_key(const command& c);

    void wait_for_frames(uint64_t frames);

    uint64_t ms_of(const duration& d) const { return d.in_passes ? d.amount * FRAME_MS : d.amount; }

    // A wait that a run's end cut short goes on with the instrument off.
    void finish_wait_while_off();

    void execute(const command& c);

    void switch_on(const command& c);

    void move_slider(const command& c);

    void check(const command& c);

    void check_frame(const command& c);

    // With --update the references are written, beside the scenario: none may leave its
    // folder. Without it they are only read, from wherever they are.
    void check_written_references() const;

    // Every reference frame is read before anything runs: one that is missing, unreadable or
    // of another size is a mistake in the scenario. A reference that an earlier screenshot of
    // the scenario takes is that screenshot.
    void read_references();

    // The reference of an `expect frame`: read before the scenario ran, or the latest
    // screenshot it took under that name.
    argb_picture reference_for(const command& c, const std::string& reference);

    static std::string same_path(const std::string& path);

    // The failure pictures' common start: the reference's name in the output folder, with a
    // number when an earlier failure of this run (another scenario's reference of the same
    // name) already took it.
    std::string failure_prefix(const command& c);

    static std::string in_folder(const std::string& folder, const std::string& path);

    // The display as a picture file, to be written once the scenario is over; `notice` says
    // so once it is.
    void plan_picture(const command& c, const std::string& path, int scale,
                      std::string notice = {});

    // Writes the files the scenario made, in order, each in its folder (made if missing). A
    // file that cannot be written stops the rest: a screenshot or reference makes the scenario
    // one that cannot run, a failure picture adds its reason to the failure.
    void write_files();

    std::string where(const command& c) const;

    void passed(const command& c);

    // A failed expectation ends the play, or with keep_going is counted, the first one kept
    // as the outcome's message, and the play goes on.
    void fail(const command& c, const std::string& what);

    [[noreturn]] void cannot_run(const command& c, const std::string& what) const;

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

} // namespace txm9
