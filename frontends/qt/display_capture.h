// Taking the display away from the window: copied to the clipboard, saved as a PNG, recorded
// as an animated GIF. Offered by the display picture's context menu and by Ctrl+C, Ctrl+S
// and Ctrl+R, which none of the window's controls use. All three take the frame on the
// display, which is what lcd_buffer holds whenever events are handled.
#pragma once

#include <QObject>
#include <QString>

class GifRecorder;
class QAction;
class TForm1;

class DisplayCapture : public QObject {
    Q_OBJECT

public:
    explicit DisplayCapture(TForm1& form);

    // The display as shown, 228 x 128 in the window's colours, on the clipboard.
    void copy();
    // Asks for a file name and a scale (1, 2 or 4), then saves.
    void save();
    // Writes the display at `scale` to `path` as a PNG, whole or not at all; a failure is
    // shown in a message box.
    bool save_to(const QString& path, int scale);
    // Starts a recording, asking for its file name, or stops the one running.
    void toggle_recording();

    GifRecorder& recorder() { return *recorder_; }

private:
    // Where the dialogs start, and a name with the time in it.
    QString suggested_path(const QString& suffix) const;
    void report(const QString& what, const QString& why);
    void show_recording_state();

    TForm1& form_;
    GifRecorder* recorder_;
    QAction* record_;
    QString folder_;
};
