// Playing a scenario on a front panel, step by step. The player carries out the commands and
// checks the expectations; its frontend drives it (after each frame's events, and once the
// instrument time it waits for while the instrument is off has passed) and supplies the panel:
// where the inputs go and where time comes from. The runner plays on the engine with a
// virtual clock, as fast as the processor allows (play_scenario); the window plays on its own
// controls at the instrument's pace. Either way the program starts as the window does: off,
// every variable zero, both sliders at 0 and both boxes clear. A mistake in the scenario,
// found before it runs or while it runs (a reference frame that cannot serve, a value no count
// can give at that moment, too many nested runs), leaves no trace: what it prints and the
// files it makes go out only once it has ended without one.
#pragma once

#include <csignal>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "scenario/scenario.h"
#include "scenario/scenario_panel.h"

namespace txm9 {

class play_journal;
class play_observer;

struct player_options {
    std::string out_dir;          // screenshots and failure pictures; empty: beside the scenario
    bool update = false;          // write reference frames instead of comparing with them
    uint64_t time_limit_ms = 0;   // stop a scenario after this much instrument time; 0: never
    double real_time_limit_s = 0; // fail a scenario still playing after this; 0: never
    // Set by a signal handler: the scenario stops at once, with `interrupted` in its outcome.
    const volatile std::sig_atomic_t* stop = nullptr;
    std::ostream* print_to = nullptr; // where `print` writes; nowhere if null
    bool files = true;                // false: screenshots and frames neither read nor written
    // The failure pictures' names already written in this run, so that two references of the
    // same name (in two scenarios) do not overwrite each other's; each file by itself if null.
    std::set<std::string>* failure_names = nullptr;
    play_observer* observer = nullptr; // watches the play (coverage); none if null
    bool keep_going = false; // a failed expectation is counted and the play goes on (a demo)
    // Where the headless play notes every input and frame (--journal); nowhere if null.
    play_journal* journal = nullptr;
    // An open-ended session (a program driving the instrument): commands are added to the
    // scenario while it plays, the play never switches off by itself, and a failure or a
    // mistake ends only the commands added with it; references are read when they are
    // compared, and files are written as soon as their commands are done.
    bool session = false;
};

enum class outcome_status { passed, failed, cannot_run };

// In a session: what the commands added last came to.
struct session_step {
    outcome_status status = outcome_status::passed;
    std::string message;              // the failure or mistake that ended them
    std::vector<std::string> notices; // faults that ended runs, files written
    std::string printed;              // what `print` printed
};

struct scenario_outcome {
    outcome_status status = outcome_status::passed;
    std::string message;              // what failed, and what the display showed
    std::vector<std::string> notices; // faults that ended runs, files written
    uint64_t passes = 0;              // main-loop passes
    uint64_t instrument_ms = 0;       // instrument time the scenario took
    bool interrupted = false;         // stopped by `stop`: no outcome to report
    int expectations = 0;             // expectations checked (a text waited for included)
    int failed = 0;                   // of which failed
};

class scenario_player {
public:
    // `script`, `options` and `panel` must outlive the player.
    scenario_player(const scenario& script, const player_options& options, scenario_panel& panel);
    ~scenario_player();
    scenario_player(const scenario_player&) = delete;
    scenario_player& operator=(const scenario_player&) = delete;

    // Plays from the first command, with the panel at program start, until a command has to
    // let instrument time pass.
    void start();
    // While a run is in progress: a splash frame or a pass has been shown.
    void frame_shown(const frame_report& frame);
    // ... and its events delivered: the play goes on if what it waits for has come.
    void frame_delivered();
    // While the instrument is off and the play waits for time to pass: the instrument time
    // (since program start) at which to resume.
    std::optional<uint64_t> resume_at() const;
    void resume();
    // A run the play did not start (a person's ON on the window) has ended: if the instrument
    // is off now, a wait counted in frames goes on as time while off, as after the play's own
    // OFF, and a wait for a text fails.
    void went_off();
    // Stops playing where it is (someone took the panel over); no command runs after it.
    void stop();

    // No command will run any more: the last one is done, or the play stopped (a failure
    // without keep_going, a scenario that cannot run, or stop()).
    bool finished() const;
    // The outcome so far, with the instrument time until now.
    scenario_outcome outcome() const;
    // Once it has finished: prints what the scenario printed and writes the files it made,
    // unless it cannot run or was interrupted; the final outcome.
    scenario_outcome conclude();
    // The line of the command carried out last; 0 before the first.
    int line() const;

    // In a session: the commands added to the scenario since are played, until one has to let
    // instrument time pass. Only while idle.
    void play_added();
    // In a session: every command is done, nothing waits and no OFF is on its way.
    bool idle() const;
    // In a session, once idle: what the commands played since the last call came to; the
    // files they made are written now.
    session_step take_session_step();

private:
    class impl;
    std::unique_ptr<impl> impl_;
};

// Plays the scenario headless on the engine with a virtual clock.
scenario_outcome play_scenario(const scenario& script, const player_options& options);

// Reads a scenario from its text and plays it. A mistake in it is the outcome cannot_run with
// "FILE:LINE:COLUMN: message", and nothing runs. `file` names it in messages; relative paths
// start in its folder.
scenario_outcome play_scenario_text(std::string_view text, const std::string& file,
                                    const player_options& options);

} // namespace txm9
