// A scenario played on the front panel itself, for a demonstration or to see a test happen:
// every input goes through the control a person would use (keys and the knob shown pressed
// for a moment, the sliders and boxes moving, ON and OFF pressed), waits pass on instrument
// time at the inspector's speed, and each expectation's result shows in the status bar
// without stopping the play. Any input from a person stops it and hands the panel over.
//
// While it plays, the panel keeps instrument time as the runner does, so that a scenario plays
// the same on the window as headless: 25 ms a frame, the tick every fourth frame and every
// 100 ms of the time waited while off, rather than from the window's own timer.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>

#include "panel/panel_session.h"
#include "scenario/play_observer.h"
#include "scenario/scenario_player.h"
#include "window_controls.h"

class TForm1;

class PanelPlayback : public QObject,
                      public WindowControls,
                      public txm9::play_observer,
                      public txm9::play_frames {
    Q_OBJECT

public:
    explicit PanelPlayback(TForm1& form);
    ~PanelPlayback() override;

    // Plays the scenario in `path` from program start: a run in progress is switched off
    // first. With `loop` it starts again after its last line; with `exit_when_done` the
    // program ends when it is over, with the runner's exit status. A scenario that cannot be
    // read or has a mistake says so in the status bar and returns false.
    bool play(const QString& path, bool loop, bool exit_when_done);
    // Stops the play where it is; the panel is the person's again.
    void stop(const QString& why);

    // Playing now (also while it waits for a run to end before it starts again).
    bool playing() const { return state_ != state::idle; }
    // The exit status for --exit: 0 passed, 1 an expectation failed, 2 the scenario could not
    // run or did not get to its end.
    int exitStatus() const { return exit_status_; }
    // The line of the command played last; 0 before the first.
    int line() const { return player_ ? player_->line() : 0; }

    // txm9::play_frames: the window's frames while the play keeps the time (from play() until
    // the panel is the person's again).
    void shown(const txm9::frame_report& frame) override;
    void delivered() override;

    // txm9::scenario_panel: the window's controls (WindowControls), on this one's time.
    uint64_t now_ms() const override;

    // txm9::play_observer: results into the status bar.
    void expectation_checked(const txm9::command& c, bool passed,
                             const std::string& failure) override;

signals:
    // The play is over and the program should end with this status (--exit).
    void exitRequested(int status);
    // The play took the instrument's time over, or gave it back to the window's Timer1.
    void timeKeeperChanged();

protected:
    // Any input a person gives the panel while it plays.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class state { idle, starting, playing, ending };

    void begin();
    void after_step();
    void resume();
    void finish();
    void when_off(void (PanelPlayback::*then)());
    void exit_now();
    void show(const QString& message);
    void keep_time(bool keep);
    QString name() const;

    state state_ = state::idle;
    QString path_;
    bool loop_ = false;
    bool exit_when_done_ = false;
    int round_ = 0;
    int exit_status_ = 0;
    int in_player_ = 0; // calls into the player under way, which a new play must wait for
    int passed_ = 0;
    int failed_ = 0;
    std::unique_ptr<txm9::scenario> script_;
    std::unique_ptr<txm9::scenario> next_script_; // until the player of the last one is gone
    txm9::player_options options_;
    std::unique_ptr<txm9::scenario_player> player_;
    QTimer resume_timer_;
    QTimer poll_;
};
