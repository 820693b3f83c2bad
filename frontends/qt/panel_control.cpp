#include "panel_control.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cmath>

#include "deliver_events.h"
#include "engine/panel_colours.h"
#include "engine/timing.h"
#include "firmware/monitor/state.h"
#include "panel_keys.h"
#include "panel_playback.h"
#include "pcmain.h"

using namespace txm9;

namespace {

PanelControl* listening = nullptr;

// A client that reads nothing for this long is dropped rather than the window's memory
// filling with its replies.
constexpr qint64 MOST_UNREAD_BYTES = 64 * 1024 * 1024;
constexpr int HANDOVER_MS = 500;

} // namespace

PanelControl::PanelControl(TForm1& form) : QObject(&form), WindowControls(form) {
    resume_timer_.setSingleShot(true);
    resume_timer_.setTimerType(Qt::PreciseTimer);
    connect(&resume_timer_, &QTimer::timeout, this, &PanelControl::resume);
    connect(&server_, &QLocalServer::newConnection, this, &PanelControl::accept);
    // Taken from the event loop, once the run's caller has had its end.
    connect(&form, &TForm1::runEnded, this, &PanelControl::run_ended, Qt::QueuedConnection);
}

PanelControl::~PanelControl() {
    if (listening == this) {
        listening = nullptr;
    }
    server_.close();
}

PanelControl* PanelControl::active() {
    return listening;
}

bool PanelControl::driving() {
    return listening != nullptr && listening->client_;
}

QString PanelControl::defaultPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    return QDir(folder).filePath(QStringLiteral("txm9-simulator.%1.sock").arg(getpid()));
}

bool PanelControl::listen(const QString& path, QString& problem) {
    // A socket left by a program that has gone answers nobody: it may be replaced. One that
    // answers belongs to a running window and is left alone.
    if (QFile::exists(path)) {
        QLocalSocket probe;
        probe.connectToServer(path);
        if (probe.waitForConnected(200)) {
            problem = QStringLiteral("%1 is in use by another program").arg(path);
            return false;
        }
        QLocalServer::removeServer(path);
    }
    // Only the user may connect: the socket is made with no permission for anyone else.
    const mode_t before = ::umask(0177);
    const bool listens = server_.listen(path);
    ::umask(before);
    if (!listens) {
        problem = QStringLiteral("cannot listen at %1: %2").arg(path, server_.errorString());
        return false;
    }
    ::chmod(QFile::encodeName(server_.fullServerName()).constData(), 0600);
    path_ = server_.fullServerName();
    listening = this;
    return true;
}

void PanelControl::accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (!client_) {
            adopt(socket);
            continue;
        }
        // A client that has just gone may not have been noticed yet: the newcomer waits a
        // moment before it is told the panel is taken.
        QTimer::singleShot(HANDOVER_MS, this, [this, waiting = QPointer<QLocalSocket>(socket)] {
            if (!waiting) {
                return;
            }
            if (!client_) {
                adopt(waiting);
                return;
            }
            waiting->write(error_line(nullptr, control_error::BUSY,
                                      "another client is driving the panel; one at a time")
                               .c_str());
            waiting->write("\n");
            waiting->disconnectFromServer();
            connect(waiting, &QLocalSocket::disconnected, waiting, &QObject::deleteLater);
        });
    }
}

void PanelControl::adopt(QLocalSocket* socket) {
    client_ = socket;
    lines_ = line_reader();
    pending_.clear();
    connect(socket, &QLocalSocket::readyRead, this, &PanelControl::read);
    connect(socket, &QLocalSocket::disconnected, this, &PanelControl::client_gone,
            Qt::QueuedConnection);
    player_options options;
    options.out_dir = QDir::currentPath().toStdString();
    session_ = std::make_unique<control_session>(
        *this, [this](const std::string& line) { send(line); },
        control_identity{"txm9-simulator", QCoreApplication::applicationVersion().toStdString(),
                         "window"},
        options, QDir::currentPath().toStdString());
    ++in_session_;
    session_->start();
    --in_session_;
    read();
}

void PanelControl::read() {
    if (!client_) {
        return;
    }
    const QByteArray bytes = client_->readAll();
    lines_.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    // While the instrument is off, taken from the event loop rather than here: a request that
    // switches on runs the whole run inside it, and the socket signals no more reads while
    // its handler is on the stack. While it runs, taken after the frame's delivery, as the
    // runner takes them, so that a key's two passes are two whole passes.
    QTimer::singleShot(0, this, [this] { take_lines(false); });
}

void PanelControl::take_lines(bool after_frame) {
    while (std::optional<request_line> line = lines_.next()) {
        pending_.push_back(std::move(*line));
    }
    while (session_ && !pending_.empty()) {
        if (form_.playback().playing()) {
            if (const std::optional<std::string> refusal = refusal_during_play(pending_.front())) {
                send(*refusal);
                pending_.pop_front();
                continue;
            }
        }
        // While the instrument runs, a question is answered at once if nothing is under way,
        // but anything to do waits for the end of a frame's delivery.
        if (form_.runs() > 0 && !after_frame &&
            (session_->busy() || asks_to_do(pending_.front()))) {
            break;
        }
        const request_line line = std::move(pending_.front());
        pending_.pop_front();
        ++in_session_;
        session_->receive(line);
        if (session_) {
            // The call may have returned only once an older client's run ended.
            session_->poll();
        }
        --in_session_;
        after_step();
    }
    retire_closed();
}

// A person's OFF may end a run while a request waits for its frames: the wait goes on while
// off, and the requests read meanwhile are taken now rather than at the next run's frames.
void PanelControl::run_ended() {
    if (!session_ || form_.runs() > 0) {
        return;
    }
    ++in_session_;
    session_->poll();
    --in_session_;
    take_lines(false);
    after_step();
}

void PanelControl::send(const std::string& line) {
    if (!client_) {
        return;
    }
    client_->write(line.data(), static_cast<qint64>(line.size()));
    client_->write("\n", 1);
    if (client_->bytesToWrite() > MOST_UNREAD_BYTES) {
        client_->abort();
    }
}

void PanelControl::client_gone() {
    if (client_) {
        client_->deleteLater();
    }
    client_ = nullptr;
    resume_timer_.stop();
    if (session_) {
        session_->close();
        closed_.push_back(std::move(session_));
    }
    retire_closed();
}

void PanelControl::retire_closed() {
    if (in_session_ == 0) {
        closed_.clear();
    }
}

// Back in the window's event loop: while the instrument is off, a wait passes on the real
// clock at the window's speed.
void PanelControl::after_step() {
    if (!session_ || form_.runs() > 0) {
        return;
    }
    if (const std::optional<uint64_t> at = session_->resume_at()) {
        const double real_ms =
            static_cast<double>(*at - std::min(*at, ms_)) / form_.session().time().speed();
        resume_timer_.start(static_cast<int>(std::ceil(real_ms)));
    }
}

void PanelControl::resume() {
    if (!session_) {
        return;
    }
    if (form_.session().time().paused()) {
        resume_timer_.start(20); // instrument time stands still while paused
        return;
    }
    if (const std::optional<uint64_t> at = session_->resume_at()) {
        ms_ = std::max(ms_, *at);
    }
    ++in_session_;
    session_->resume();
    --in_session_;
    after_step();
    retire_closed();
}

void PanelControl::frameShown(const frame_report& frame) {
    if (session_) {
        ++in_session_;
        session_->frame_shown(frame);
        --in_session_;
    }
}

void PanelControl::frameDelivered() {
    ms_ += FRAME_MS;
    if (session_) {
        ++in_session_;
        session_->frame_delivered();
        --in_session_;
        take_lines(true);
    }
    retire_closed();
}

uint64_t PanelControl::now_ms() const {
    return ms_;
}
