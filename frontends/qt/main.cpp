// Program start: the front-panel window and the toolkit's event loop. The instrument is off
// until its ON button is clicked, or until a scenario given with --play clicks it.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "firmware_reload.h"
#include "panel_control.h"
#include "panel_playback.h"
#include "pcmain.h"
#include "stop_signals.h"

using namespace txm9;

namespace {

struct play_request {
    QString file;
    bool loop = false;
    bool exit_when_done = false;
    double timeout_s = 0; // 0: none
    bool watch = false;
    QString resume;  // a session handed over by the program before a rebuild
    QString control; // the control socket's path, if asked for
};

// Reads the command line; false with the reason in `problem` when it cannot be followed.
bool read_command_line(const QApplication& application, play_request& play, QString& problem) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The TXM-9 battery monitor's front panel, with its own firmware."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption play_option(
        QStringLiteral("play"),
        QStringLiteral("Play the scenario FILE on the panel, as a person would."),
        QStringLiteral("FILE"));
    const QCommandLineOption loop_option(
        QStringLiteral("loop"),
        QStringLiteral("Play it again from program start after its last line, until someone "
                       "touches the panel."));
    const QCommandLineOption exit_option(
        QStringLiteral("exit"),
        QStringLiteral("Close the window when the scenario is over, with the exit status of "
                       "txm9-scenario: 0 passed, 1 an expectation failed, 2 it cannot run."));
    const QCommandLineOption timeout_option(
        QStringLiteral("timeout"),
        QStringLiteral("Stop the scenario if it is still playing after SECONDS of real time, as "
                       "a failure (exit status 1 with --exit)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption watch_option(
        QStringLiteral("watch"),
        QStringLiteral("Follow the firmware's sources: on a save, rebuild and go on in the new "
                       "firmware with the session so far."));
    const QCommandLineOption resume_option(
        QStringLiteral("resume"),
        QStringLiteral("Take over the session handed over in FILE by the watch."),
        QStringLiteral("FILE"));
    const QCommandLineOption control_option(
        QStringLiteral("control"),
        QStringLiteral("Let a program drive the panel through the control protocol on the Unix "
                       "socket PATH (a bare name: in the user's runtime folder; \"default\": "
                       "txm9-simulator.PID.sock there)."),
        QStringLiteral("PATH"));
    parser.addOptions({play_option, loop_option, exit_option, timeout_option, watch_option,
                       resume_option, control_option});
    if (!parser.parse(application.arguments())) {
        problem = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(); // exits
    }
    if (parser.isSet(QStringLiteral("version"))) {
        parser.showVersion(); // exits
    }
    play.file = parser.value(play_option);
    play.loop = parser.isSet(loop_option);
    play.exit_when_done = parser.isSet(exit_option);
    if (parser.isSet(timeout_option)) {
        bool number = false;
        play.timeout_s = parser.value(timeout_option).toDouble(&number);
        if (!number || !(play.timeout_s > 0 && play.timeout_s <= 1e6)) {
            problem =
                QStringLiteral("--timeout needs a number of seconds greater than 0, found '%1'")
                    .arg(parser.value(timeout_option));
            return false;
        }
    }
    play.watch = parser.isSet(watch_option);
    play.resume = parser.value(resume_option);
    play.control = parser.value(control_option);
    if (play.control == QStringLiteral("default")) {
        play.control = PanelControl::defaultPath();
    } else if (!play.control.isEmpty() && !play.control.contains(QLatin1Char('/'))) {
        play.control = QDir(QFileInfo(PanelControl::defaultPath()).path()).filePath(play.control);
    }
    if (!parser.positionalArguments().isEmpty()) {
        problem = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
    } else if (play.file.isEmpty() && (play.loop || play.exit_when_done || play.timeout_s > 0)) {
        problem = QStringLiteral("--loop, --exit and --timeout go with --play FILE");
    } else if (play.loop && play.exit_when_done) {
        problem = QStringLiteral("--loop and --exit do not go together: a loop never ends");
    }
    return problem.isEmpty();
}

// Past --timeout: the play stops as a failure at the line it had reached, and with --exit the
// window ends as closing it does (the instrument switched off first), with status 1.
void time_out(TForm1& window, const play_request& play, bool& timed_out) {
    PanelPlayback& playback = window.playback();
    if (!playback.playing()) {
        return;
    }
    const QString message =
        QStringLiteral("%1:%2: still playing after the time limit of %3 s of real time")
            .arg(play.file)
            .arg(playback.line())
            .arg(play.timeout_s);
    std::fprintf(stderr, "FAIL %s\n", qPrintable(message));
    playback.stop(message);
    if (play.exit_when_done) {
        timed_out = true;
        closeWhenOff(window);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TXM-9 Simulator"));
    QApplication::setApplicationVersion(QStringLiteral(TXM9_VERSION));
    // The desktop matches the window to its menu entry, and so to its name and icon, by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(TXM9_APP_ID));
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/icon")).entryInfoList()) {
        icon.addFile(size.filePath());
    }
    QApplication::setWindowIcon(icon);
    play_request play;
    if (QString problem; !read_command_line(application, play, problem)) {
        std::fprintf(stderr, "txm9-simulator: %s\n", qPrintable(problem));
        return 2;
    }
    StopSignals stops;
    bool timed_out = false;
    try {
        TForm1 window;
        QObject::connect(&stops, &StopSignals::stopRequested, &window,
                         [&window] { closeWhenOff(window); });
        auto* reload = new FirmwareReload(window);
        if (QString problem; play.watch && !reload->watch(problem)) {
            std::fprintf(stderr, "txm9-simulator: %s\n", qPrintable(problem));
            return 2;
        }
        // A session taken over shows the window once it has been replayed.
        if (QString problem; !play.resume.isEmpty() && !reload->resume(play.resume, problem)) {
            std::fprintf(stderr, "txm9-simulator: %s\n", qPrintable(problem));
            play.resume.clear();
        }
        if (play.resume.isEmpty()) {
            window.show();
        }
        if (!play.control.isEmpty()) {
            auto* control = new PanelControl(window);
            if (QString problem; !control->listen(play.control, problem)) {
                std::fprintf(stderr, "txm9-simulator: %s\n", qPrintable(problem));
                return 2;
            }
            std::printf("txm9-simulator: control socket %s\n", qPrintable(play.control));
            std::fflush(stdout);
        }
        if (!play.file.isEmpty()) {
            PanelPlayback& playback = window.playback();
            QObject::connect(&playback, &PanelPlayback::exitRequested, &application,
                             [](int status) { QApplication::exit(status); });
            if (!playback.play(play.file, play.loop, play.exit_when_done)) {
                std::fprintf(stderr, "txm9-simulator: %s\n",
                             qPrintable(window.StatusBar1->currentMessage()));
            } else if (play.timeout_s > 0) {
                QTimer::singleShot(
                    static_cast<int>(play.timeout_s * 1000), &playback,
                    [&window, &play, &timed_out] { time_out(window, play, timed_out); });
            }
        }
        const int status = QApplication::exec();
        if (stops.received() != 0) {
            return 128 + stops.received();
        }
        if (timed_out) {
            return 1;
        }
        return play.exit_when_done && status == 0 ? window.playback().exitStatus() : status;
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              QString::fromUtf8(error.what()));
        return 1;
    }
}
