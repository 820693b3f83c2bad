// SIGTERM, SIGINT and SIGHUP (a session logging out, a terminal closed, Ctrl+C) end the window
// as its close box does: the play stops, the instrument is switched off, and a recording is
// finished as a playable GIF, rather than the program vanishing mid-file. A second signal ends
// the program at once, leaving no partial file.
#pragma once

#include <QObject>

class QSocketNotifier;
class TForm1;

class StopSignals : public QObject {
    Q_OBJECT

public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // The signal that asked the program to stop, or 0.
    int received() const;

signals:
    void stopRequested(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
};

// Ends the window as its close box does: the play stops, OFF is pressed until every run is
// over (a nested run goes on after one, an OFF in the splash is forgotten), then every window
// closes and the event loop ends, a recording finished on the way.
void closeWhenOff(TForm1& window);
