// Recording the display as an animated GIF while the instrument runs: every frame the window
// paints is offered to the GIF at the real time it appeared, and the recording's state shows
// in the status bar until it stops. A recording still going when the window goes is
// finished then.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include "gif_writer.h"

class TForm1;

class GifRecorder : public QObject {
    Q_OBJECT

public:
    explicit GifRecorder(TForm1& form);
    ~GifRecorder() override;

    // Starts recording to `path`, from the frame on the display now. False, with error()
    // saying why, if the file cannot be started.
    bool start(const QString& path);
    // Stops and gives the file its name. False, with error() saying why, if it could not be
    // written; no file is left under its name then.
    bool stop();
    bool recording() const { return writer_.recording(); }
    QString error() const { return QString::fromStdString(writer_.error()); }

signals:
    // The recording ended, finished or not: by stop(), or by a failure to write.
    void stopped();
    // Writing failed while recording; the recording has ended without a file.
    void failed(const QString& error);

private:
    void take_frame();
    void show_state();

    TForm1& form_;
    gif_writer writer_;
    QElapsedTimer clock_;
    QTimer state_;
    QString name_;
};
