// Program start: the front-panel window and the toolkit's event loop. The instrument is off
// until its ON button is clicked, or until a scenario given with --play clicks it.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>
#include <exception>

#include "panel_control.h"
#include "panel_playback.h"
#include "pcmain.h"

using namespace txm9;

namespace {

struct play_request {
    QString file;
    bool loop = false;
    bool exit_when_done = false;
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
    const QCommandLineOption control_option(
        QStringLiteral("control"),
        QStringLiteral("Let a program drive the panel through the control protocol on the Unix "
                       "socket PATH (a bare name: in the user's runtime folder; \"default\": "
                       "txm9-simulator.PID.sock there)."),
        QStringLiteral("PATH"));
    parser.addOptions({play_option, loop_option, exit_option, control_option});
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
    play.control = parser.value(control_option);
    if (play.control == QStringLiteral("default")) {
        play.control = PanelControl::defaultPath();
    } else if (!play.control.isEmpty() && !play.control.contains(QLatin1Char('/'))) {
        play.control = QDir(QFileInfo(PanelControl::defaultPath()).path()).filePath(play.control);
    }
    if (!parser.positionalArguments().isEmpty()) {
        problem = QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments()[0]);
    } else if (play.file.isEmpty() && (play.loop || play.exit_when_done)) {
        problem = QStringLiteral("--loop and --exit go with --play FILE");
    } else if (play.loop && play.exit_when_done) {
        problem = QStringLiteral("--loop and --exit do not go together: a loop never ends");
    }
    return problem.isEmpty();
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
    try {
        TForm1 window;
        window.show();
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
            }
        }
        const int status = QApplication::exec();
        return play.exit_when_done ? window.playback().exitStatus() : status;
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              QString::fromUtf8(error.what()));
        return 1;
    }
}
