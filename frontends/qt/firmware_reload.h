// Edit the firmware and see it at once: with --watch the window follows the sources it was
// built from. A save rebuilds the program in the background while the old firmware goes on
// running; a build that fails shows the compiler's first error in a bar over the foot of the
// window; a good one hands the session over to the new program (every input since program
// start, where the windows were, the time control), which replays it through the new
// firmware at full speed and goes on live from there, in the same place on the screen.
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "panel/session_handover.h"
#include "panel/session_replay.h"

class BuildBar;
class SourceWatch;
class TForm1;

class FirmwareReload : public QObject {
    Q_OBJECT

public:
    explicit FirmwareReload(TForm1& form);
    ~FirmwareReload() override;

    // Watches the sources this program was built from; false with the reason when it was not
    // built from a tree that is still there.
    bool watch(QString& problem);
    // Takes over the session handed over in `path`: the window shows once it has been
    // replayed. False with the reason when the file cannot be read (the window is then shown
    // at program start).
    bool resume(const QString& path, QString& problem);

    BuildBar* bar() const { return bar_; }

private:
    void handOver(double build_s);
    void caughtUp(const txm9::replay_report& report);

    TForm1& form_;
    SourceWatch* watch_ = nullptr;
    BuildBar* bar_ = nullptr;
    txm9::session_handover handover_;
    QString handover_path_;
    std::unique_ptr<txm9::session_replay> replay_;
    qint64 replay_started_ns_ = 0;
};
