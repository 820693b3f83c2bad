#include "firmware_reload.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <link.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "build_bar.h"
#include "build_trees.h"
#include "files/whole_file_writer.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "inspector_window.h"
#include "lcd_reader/lcd_text_reader.h"
#include "pcmain.h"
#include "render_lcd.h"
#include "source_watch.h"

using namespace txm9;

namespace {

qint64 monotonic_ns() {
    static QElapsedTimer clock;
    if (!clock.isValid()) {
        clock.start();
    }
    return clock.nsecsElapsed();
}

// The files of the build tree that this program runs: itself and the shared libraries it has
// loaded from the tree (the firmware, in a build that makes it shared).
QStringList made_files(const QString& build) {
    QStringList made{QCoreApplication::applicationFilePath()};
    const auto add_library = [](dl_phdr_info* info, size_t, void* data) {
        auto& [libraries, tree] = *static_cast<std::pair<QStringList, QString>*>(data);
        const QString path = QFile::decodeName(info->dlpi_name);
        if (path.startsWith(tree)) {
            libraries << path;
        }
        return 0;
    };
    std::pair<QStringList, QString> found{{}, build + QLatin1Char('/')};
    dl_iterate_phdr(add_library, &found);
    return made + found.first;
}

QString seconds_words(double s) {
    return QString::number(s, 'f', 1) + QStringLiteral(" s");
}

} // namespace

FirmwareReload::FirmwareReload(TForm1& form) : QObject(&form), form_(form) {}

FirmwareReload::~FirmwareReload() = default;

bool FirmwareReload::watch(QString& problem) {
    const QString source = QString::fromUtf8(configured_source_dir());
    const QString build = QString::fromUtf8(configured_build_dir());
    if (!QFileInfo(source + QStringLiteral("/core")).isDir() ||
        !QFileInfo(build + QStringLiteral("/CMakeCache.txt")).isFile()) {
        problem = tr("--watch follows the sources the program was built from, and %1 or %2 is "
                     "gone: start the program from its build tree")
                      .arg(source, build);
        return false;
    }
    bar_ = new BuildBar(form_);
    watch_ = new SourceWatch(
        {source + QStringLiteral("/core"), source + QStringLiteral("/frontends/qt")}, build,
        QStringLiteral("txm9-simulator"), made_files(build), this);
    connect(watch_, &SourceWatch::building, this,
            [this] { form_.StatusBar1->showMessage(tr("Rebuilding the firmware…")); });
    connect(watch_, &SourceWatch::upToDate, this, [this] {
        bar_->hide();
        form_.StatusBar1->showMessage(tr("The firmware is up to date"), 3000);
    });
    connect(watch_, &SourceWatch::failed, this, [this, source, build](QString error) {
        // The compiler names files from the build tree; an editor opens them from the source.
        if (error.startsWith(QLatin1String("../"))) {
            const QString file = error.left(error.indexOf(QLatin1Char(':')));
            error.replace(
                0, file.size(),
                QDir(source).relativeFilePath(QDir::cleanPath(QDir(build).absoluteFilePath(file))));
        }
        form_.StatusBar1->showMessage(tr("The firmware did not build: the old one goes on"));
        bar_->showError(error, watch_->log());
        noteWatchEvent(QStringLiteral("bar"), error);
    });
    connect(watch_, &SourceWatch::built, this, &FirmwareReload::handOver);
    // A session taken over is replayed and shown first; the watch starts after (caughtUp).
    QTimer::singleShot(0, this, [this] {
        if (!replay_ || replay_->caught_up()) {
            watch_->start();
        }
    });
    return true;
}

// The new program takes the process over, and with it the window's place and the session.
void FirmwareReload::handOver(double build_s) {
    panel_session& session = form_.session();
    session_handover h;
    h.inputs = session.recorder().inputs();
    h.frames = session.recorder().frames();
    h.ms = session.ms_since_start();
    h.running = session.run_goes_on();
    h.screen = screen_index(active_screen);
    h.speed = session.time().speed();
    h.paused = session.time().paused();
    h.build_s = build_s;
    h.frontend.emplace_back("window", QStringLiteral("%1 %2")
                                          .arg(form_.frameGeometry().x())
                                          .arg(form_.frameGeometry().y())
                                          .toStdString());
    InspectorWindow* inspector = form_.inspector();
    const QRect place = inspector->frameGeometry();
    h.frontend.emplace_back("inspector", QStringLiteral("%1 %2 %3")
                                             .arg(inspector->isVisible() ? 1 : 0)
                                             .arg(place.x())
                                             .arg(place.y())
                                             .toStdString());
    const QString path = QDir::temp().filePath(
        QStringLiteral("txm9-session-%1.handover").arg(QCoreApplication::applicationPid()));
    const std::string error =
        write_whole_file(QFile::encodeName(path).toStdString(), handover_text(h));
    if (!error.empty()) {
        bar_->showError(tr("The session could not be handed over to the new firmware: %1")
                            .arg(QString::fromStdString(error)),
                        watch_->log());
        return;
    }
    noteWatchEvent(QStringLiteral("exec"), QStringLiteral("screen=%1 volts=%2 inputs=%3")
                                               .arg(QString::fromUtf8(screen_name(active_screen)))
                                               .arg(form_.TrackBar1->value())
                                               .arg(h.inputs.size()));
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    const QByteArray file = QFile::encodeName(path);
    std::vector<char*> arguments{const_cast<char*>(program.constData()),
                                 const_cast<char*>("--watch"), const_cast<char*>("--resume"),
                                 const_cast<char*>(file.constData()), nullptr};
    std::fflush(nullptr);
    ::execv(program.constData(), arguments.data());
    // Still here: the old firmware goes on, and says why.
    bar_->showError(tr("The rebuilt program could not be started: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno))),
                    watch_->log());
}

bool FirmwareReload::resume(const QString& path, QString& problem) {
    noteWatchEvent(QStringLiteral("window"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = tr("%1: cannot read the session handed over: %2").arg(path, file.errorString());
        return false;
    }
    std::string error;
    if (!read_handover(file.readAll().toStdString(), handover_, error)) {
        problem = tr("%1: %2").arg(path, QString::fromStdString(error));
        return false;
    }
    handover_path_ = path;
    const QStringList window = QString::fromStdString(handover_.frontend_value("window"))
                                   .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (window.size() == 2) {
        form_.move(window[0].toInt(), window[1].toInt());
    }
    session_replay::controls controls;
    // ON as a click would do it: a fault in the replay shows as it does for a person.
    controls.switch_on = [this] {
        form_.Button1Click();
        return form_.session().last_run();
    };
    controls.set_volts = [this](uint32_t count) {
        const QSignalBlocker quiet(form_.TrackBar1);
        form_.TrackBar1->setValue(static_cast<int>(count));
        form_.TrackBar1Change();
    };
    controls.set_amps = [this](uint32_t count) {
        const QSignalBlocker quiet(form_.TrackBar2);
        form_.TrackBar2->setValue(static_cast<int>(count));
        form_.TrackBar2Change();
    };
    controls.set_calibrate = [this](bool ticked) {
        form_.CheckBox2->setChecked(ticked);
        form_.session().calibrate_box(ticked);
    };
    controls.set_key_fast = [this](bool ticked) {
        form_.CheckBox3->setChecked(ticked);
        form_.session().key_fast_box(ticked);
    };
    replay_ = std::make_unique<session_replay>(
        form_.session(), controls, [this](const replay_report& report) { caughtUp(report); });
    QTimer::singleShot(0, this, [this] {
        form_.programStart();
        form_.setReplaying(true);
        replay_started_ns_ = monotonic_ns();
        replay_->start(handover_);
    });
    return true;
}

void FirmwareReload::caughtUp(const replay_report& report) {
    const double replay_ms = static_cast<double>(monotonic_ns() - replay_started_ns_) / 1e6;
    form_.setReplaying(false);
    render_lcd();
    form_.setSpeed(handover_.speed);
    form_.setFramesPaused(handover_.paused);
    const QStringList inspector = QString::fromStdString(handover_.frontend_value("inspector"))
                                      .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    form_.show();
    if (inspector.size() == 3 && inspector[0] == QLatin1String("1")) {
        form_.showInspector();
        form_.inspector()->move(inspector[1].toInt(), inspector[2].toInt());
    }
    noteWatchEvent(QStringLiteral("replayed"),
                   QStringLiteral("replay_ms=%1 passes=%2").arg(replay_ms).arg(report.passes));
    QString message = tr("firmware rebuilt in %1, session of %2 replayed (%3 passes) in %4 ms")
                          .arg(seconds_words(handover_.build_s),
                               QString::fromStdString(session_length_words(handover_.ms)),
                               QString::fromStdString(grouped(report.passes)))
                          .arg(qRound(replay_ms));
    if (report.parted_at != 0) {
        message = tr("firmware rebuilt in %1; the replay parted from the session at input %2 of "
                     "%3: %4; live from there")
                      .arg(seconds_words(handover_.build_s))
                      .arg(report.parted_at)
                      .arg(report.of_inputs)
                      .arg(QString::fromStdString(report.parting));
        std::fprintf(stderr, "txm9-simulator: %s\n", qPrintable(message));
    }
    form_.StatusBar1->showMessage(message);
    // The session lives on in this program now; its file was only the way across.
    QFile::remove(handover_path_);
    if (watch_ != nullptr) {
        QTimer::singleShot(0, watch_, &SourceWatch::start);
    }
    QTimer::singleShot(0, this, [this] {
        QStringList texts;
        for (const found_text& found : find_all_texts()) {
            texts << QString::fromStdString(found.text);
        }
        noteWatchEvent(QStringLiteral("frame"),
                       QStringLiteral("screen=%1 volts=%2 texts=%3")
                           .arg(QString::fromUtf8(screen_name(active_screen)))
                           .arg(form_.TrackBar1->value())
                           .arg(texts.join(QLatin1Char('|'))));
    });
}
