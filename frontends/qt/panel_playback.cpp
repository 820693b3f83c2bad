#include "panel_playback.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QWidget>
#include <cmath>
#include <cstdio>

#include "files/whole_file_writer.h"
#include "firmware/monitor/state.h"
#include "panel_control.h"
#include "panel_keys.h"
#include "pcmain.h"
#include "scenario/play_status.h"
#include "scenario/scenario_file.h"
#include "scenario/scenario_parser.h"

using namespace txm9;

namespace {

// How often a play that waits for a run to end looks again.
constexpr int POLL_MS = 20;

int exit_status_of(outcome_status status) {
    return status == outcome_status::passed ? 0 : status == outcome_status::failed ? 1 : 2;
}

} // namespace

PanelPlayback::PanelPlayback(TForm1& form) : QObject(&form), WindowControls(form) {
    resume_timer_.setSingleShot(true);
    resume_timer_.setTimerType(Qt::PreciseTimer);
    connect(&resume_timer_, &QTimer::timeout, this, &PanelPlayback::resume);
    poll_.setInterval(POLL_MS);
    // A demonstration goes on past a failed expectation; screenshots and the pictures of a
    // mismatched frame go to a folder of their own rather than beside the scenario.
    options_.keep_going = true;
    options_.observer = this;
    options_.out_dir = QDir::temp().filePath(QStringLiteral("txm9-playback")).toStdString();
}

PanelPlayback::~PanelPlayback() {
    qApp->removeEventFilter(this);
}

bool PanelPlayback::play(const QString& path, bool loop, bool exit_when_done) {
    exit_when_done_ = exit_when_done;
    auto script = std::make_unique<scenario>();
    script->file = QDir::toNativeSeparators(path).toStdString();
    script->folder = QFileInfo(path).path().toStdString();
    QString problem;
    std::string text;
    const std::string file_name = QFile::encodeName(path).toStdString();
    // Its screenshots are never written over it, whatever they are named.
    protect_input(file_name, "the scenario " + path.toStdString());
    if (PanelControl::driving()) {
        // Two drivers would mix their inputs and fight over the instrument's time.
        problem = tr("%1 not played: a program is driving the panel through its control socket")
                      .arg(path);
    } else if (std::string error; !read_scenario_file(file_name, text, error)) {
        problem = QStringLiteral("%1: %2").arg(path, QString::fromStdString(error));
    } else if (parse_error mistake; !parse_scenario(text, *script, mistake)) {
        problem = QStringLiteral("%1:%2:%3: %4")
                      .arg(path)
                      .arg(mistake.place.line)
                      .arg(mistake.place.column)
                      .arg(QString::fromStdString(mistake.message));
    }
    if (!problem.isEmpty()) {
        show(problem);
        exit_status_ = 2;
        if (exit_when_done) {
            QTimer::singleShot(0, this, &PanelPlayback::exit_now);
        }
        return false;
    }
    if (player_) {
        player_->stop();
    }
    resume_timer_.stop();
    next_script_ = std::move(script);
    path_ = path;
    loop_ = loop;
    round_ = 1;
    exit_status_ = 2; // until it gets to its end
    state_ = state::starting;
    qApp->installEventFilter(this);
    keep_time(true);
    show(tr("Playing %1 from program start").arg(name()));
    if (form_.runs() > 0) {
        switch_off(); // the panel goes back to program start first
    }
    when_off(&PanelPlayback::begin);
    return true;
}

void PanelPlayback::stop(const QString& why) {
    if (state_ == state::idle) {
        return;
    }
    if (player_) {
        player_->stop();
    }
    resume_timer_.stop();
    poll_.stop();
    state_ = state::idle;
    qApp->removeEventFilter(this);
    keep_time(false);
    show(why);
}

// Once every run has ended, and every call into the player with it, `then` follows.
void PanelPlayback::when_off(void (PanelPlayback::*then)()) {
    poll_.disconnect();
    connect(&poll_, &QTimer::timeout, this, [this, then] {
        if (form_.runs() == 0 && in_player_ == 0) {
            poll_.stop();
            (this->*then)();
        }
    });
    poll_.start();
}

void PanelPlayback::begin() {
    player_.reset();
    if (next_script_) {
        script_ = std::move(next_script_);
    }
    form_.programStart();
    form_.session().restart_play_clock();
    passed_ = failed_ = 0;
    player_ = std::make_unique<scenario_player>(*script_, options_, *this);
    state_ = state::playing;
    show(round_ > 1 ? tr("Playing %1, round %2").arg(name()).arg(round_)
                    : tr("Playing %1").arg(name()));
    ++in_player_;
    player_->start();
    --in_player_;
    after_step();
}

// Back in the window's event loop with the instrument off: the end, or a wait.
void PanelPlayback::after_step() {
    if (state_ != state::playing) {
        return;
    }
    if (player_->finished()) {
        finish();
        return;
    }
    if (const std::optional<uint64_t> at = player_->resume_at()) {
        const panel_session& session = form_.session();
        const double real_ms =
            static_cast<double>(*at - session.play_clock().now_ms()) / session.time().speed();
        resume_timer_.start(static_cast<int>(std::ceil(std::max(0.0, real_ms))));
    }
}

void PanelPlayback::resume() {
    if (state_ != state::playing) {
        return;
    }
    if (form_.session().time().paused()) {
        resume_timer_.start(POLL_MS); // instrument time stands still while paused
        return;
    }
    if (const std::optional<uint64_t> at = player_->resume_at()) {
        form_.session().play_clock().advance_to(*at); // with the ticks in the time waited
    }
    ++in_player_;
    player_->resume();
    --in_player_;
    after_step();
}

void PanelPlayback::shown(const frame_report& frame) {
    if (state_ == state::playing) {
        player_->frame_shown(frame);
    }
}

void PanelPlayback::delivered() {
    if (state_ == state::ending) {
        // An OFF pressed in the splash is forgotten when the splash ends: press it again.
        if (power_off_request == 0) {
            switch_off();
        }
        return;
    }
    if (state_ != state::playing) {
        return;
    }
    form_.session().play_clock().deliver(); // 25 ms of instrument time, a tick every fourth
    ++in_player_;
    player_->frame_delivered();
    --in_player_;
    // A scenario played to its end has switched the instrument off, and ends once the run is
    // over (after_step); one that cannot go on ends here, the instrument running.
    if (player_->finished() && player_->outcome().status == outcome_status::cannot_run) {
        finish();
    }
}

void PanelPlayback::finish() {
    // Screenshots and the pictures of a mismatch are written now that it is over.
    const scenario_outcome o = player_->conclude();
    exit_status_ = exit_status_of(o.status);
    if (exit_when_done_) {
        std::fputs(failure_report(o).c_str(), stderr); // as the runner says it
    }
    show(QString::fromStdString(played_status(name().toStdString(), round_, o)));
    const bool again = loop_ && o.status != outcome_status::cannot_run;
    if (!again && !exit_when_done_) {
        state_ = state::idle; // the panel is the person's, as the scenario left it
        qApp->removeEventFilter(this);
        keep_time(false);
        return;
    }
    state_ = state::ending;
    if (form_.runs() > 0 && power_off_request == 0) {
        switch_off();
    }
    if (again) {
        ++round_;
        when_off(&PanelPlayback::begin);
    } else {
        when_off(&PanelPlayback::exit_now);
    }
}

void PanelPlayback::exit_now() {
    state_ = state::idle;
    qApp->removeEventFilter(this);
    form_.session().hand_time_to(nullptr); // the program ends: Timer1 stays as it is
    emit exitRequested(exit_status_);
}

void PanelPlayback::keep_time(bool keep) {
    form_.session().hand_time_to(keep ? this : nullptr);
    emit timeKeeperChanged();
}

void PanelPlayback::show(const QString& message) {
    form_.StatusBar1->showMessage(message);
}

QString PanelPlayback::name() const {
    return QFileInfo(path_).fileName();
}

uint64_t PanelPlayback::now_ms() const {
    return form_.session().play_clock().now_ms();
}

void PanelPlayback::expectation_checked(const command& c, bool passed, const std::string& failure) {
    (passed ? passed_ : failed_) += 1;
    show(QString::fromStdString(
        expectation_status(name().toStdString(), c.place.line, passed, failure, passed_, failed_)));
}

bool PanelPlayback::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Wheel:
    case QEvent::Close: {
        const auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == &form_) {
            stop(tr("Playback of %1 stopped: the panel is yours").arg(name()));
        }
        break;
    }
    default:
        break;
    }
    return false; // the input goes on to do what it does
}
