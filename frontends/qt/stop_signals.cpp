#include "stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>

#include "files/part_files.h"
#include "pcmain.h"

namespace {

// A signal handler may only write to a pipe; the event loop reads it and does the rest.
int wake_pipe[2] = {-1, -1};
volatile std::sig_atomic_t stop_signal = 0;

constexpr int STOP_SIGNALS[] = {SIGTERM, SIGINT, SIGHUP};

void on_stop_signal(int signal) {
    if (stop_signal != 0) {
        txm9::end_by_signal(signal);
    }
    stop_signal = signal;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(wake_pipe[1], &byte, 1);
}

} // namespace

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
    if (::pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals keep ending the program as they always have
    }
    notifier_ = new QSocketNotifier(wake_pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(wake_pipe[0], &byte, 1) > 0) {
        }
        emit stopRequested(stop_signal);
    });
    struct sigaction action {};
    action.sa_handler = on_stop_signal;
    sigfillset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : STOP_SIGNALS) {
        sigaction(signal, &action, nullptr);
    }
}

StopSignals::~StopSignals() {
    for (const int signal : STOP_SIGNALS) {
        std::signal(signal, SIG_DFL);
    }
    if (wake_pipe[0] >= 0) {
        delete notifier_;
        ::close(wake_pipe[0]);
        ::close(wake_pipe[1]);
        wake_pipe[0] = wake_pipe[1] = -1;
    }
    stop_signal = 0;
}

int StopSignals::received() const {
    return stop_signal;
}

void closeWhenOff(TForm1& window) {
    window.close();
    auto* off = new QTimer(&window);
    QObject::connect(off, &QTimer::timeout, &window, [&window, off] {
        if (window.runs() > 0) {
            window.Button2->click();
        } else {
            off->stop();
            QApplication::closeAllWindows();
            QApplication::quit();
        }
    });
    off->start(50);
}
