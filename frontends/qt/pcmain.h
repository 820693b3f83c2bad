// The front-panel window: the instrument's round face with its lamp, display, keys and knob,
// the two analogue inputs as sliders, and the ON and OFF buttons. A click on ON runs the
// instrument's whole powered-on life inside its handler; every other event is handled
// between two passes of its main loop, or by the toolkit's event loop while it is off.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "engine/front_panel.h"
#include "panel/panel_session.h"
#include "widgets/bevel_panel.h"
#include "widgets/circle_shape.h"
#include "widgets/picture_control.h"
#include "window_frontend.h"

class InspectorWindow;
class PanelKeys;
class PanelPlayback;

namespace Ui {
class TForm1;
}

class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The controls, as the layout names them.
    QPushButton* Button1;   // ON
    QPushButton* Button2;   // OFF
    QTimer* Timer1;         // the instrument's 100 ms tick
    QStatusBar* StatusBar1; // empty, but while a recording or a played scenario reports
    CircleShape* Shape1;    // the alarm lamp
    PictureControl* Image3; // click area over the left key (F1)
    PictureControl* Image5; // click area over the knob
    PictureControl* Image6; // click area over the right key (F2)
    PictureControl* Image1; // the display picture, inside Panel1
    BevelPanel* Panel1;     // the display window
    QCheckBox* CheckBox2;   // "Calibrate"
    QCheckBox* CheckBox3;   // "KeyFast"
    QLabel* Label1;         // "Amps:"
    QLabel* Label2;         // "Volts:"
    QSlider* TrackBar1;     // the battery voltage input, 0..4096 counts
    QSlider* TrackBar2;     // the shunt voltage input, 0..4096 counts
    QLabel* Label3;         // the volts count
    QLabel* Label4;         // the amps count
    PictureControl* Image2; // the face picture
    QPushButton* BitBtn1;   // "Clockwise"
    QPushButton* Button3;   // "AntiClockwise"

    // Number of powered-on runs in progress: 0 while off, 2 after an ON inside a run.
    int runs() const { return session_.engine().depth(); }
    // What the panel's controls do, its time control and its recorder; the front panel's
    // running order, which the ON and OFF handlers start and stop.
    txm9::panel_session& session() { return session_; }
    const txm9::panel_session& session() const { return session_; }
    txm9::front_panel& engine() { return session_.engine(); }

    // Time control: passes and tick at a quarter, once, 4 or 16 times their speed; paused
    // between two passes. Every ON starts again at normal speed, unpaused.
    void setSpeed(double speed);
    void setFramesPaused(bool paused);
    // Paced frames (the default), or as fast as they run, for tests.
    void setFramePacing(bool paced) { frontend_.set_paced(paced); }
    // Frames neither painted nor paced, no events between them: a session replayed.
    void setReplaying(bool replaying) { frontend_.set_replaying(replaying); }
    // Every input since the program started, for saving as a scenario.
    txm9::session_recorder& recorder() { return session_.recorder(); }
    // The session as scenario text, with expectations of the display as it is now.
    std::string sessionScenario() const;
    // The inspector beside the window (F12, Ctrl+I), created when first asked for.
    InspectorWindow* inspector();

    // The panel as the program starts it: the instrument off with every variable zero, the
    // sliders at their start positions with both counts 0, both boxes clear, the lamp red.
    void programStart();
    // The keyboard's and the wheel's way onto the panel.
    PanelKeys& panelKeys() { return *keys_; }
    // A scenario played on the panel (--play, "Play scenario…").
    PanelPlayback& playback() { return *playback_; }
    // Starts or stops Timer1 as the session's time control has it.
    void apply_time_control();

public slots:
    void Button1Click(); // ON: power-on reset, splash, main loop until OFF
    void Button2Click(); // OFF
    void Timer1Timer();
    void Image5Click(); // knob pressed
    void Image6Click(); // right key
    void Image3Click(); // left key
    void TrackBar1Change();
    void TrackBar2Change();
    void Button3Click(); // knob turned anticlockwise
    void BitBtn1Click(); // knob turned clockwise
    void showInspector();
    // Asks for a file and writes the session as a scenario into it.
    void saveSession();
    // Writes the session as a scenario to `path`, whole or not at all; a failure is shown in a
    // message box.
    bool saveSessionTo(const QString& path);
    // Asks for a scenario and plays it on the panel, once or round and round.
    void playScenario(bool loop = false);

signals:
    // A frame has been painted into the display picture (a splash frame or a pass).
    void displayPainted();
    // A run has ended (OFF, or the firmware's fault); runs() says whether another goes on.
    void runEnded();

protected:
    // While the instrument is on, closing only asks the program to end once OFF has ended
    // the run: the window stays open meanwhile.
    void closeEvent(QCloseEvent* event) override;

private:
    void show_failure(const QString& failure);

    std::unique_ptr<Ui::TForm1> ui_;
    InspectorWindow* inspector_ = nullptr;
    PanelKeys* keys_ = nullptr;
    PanelPlayback* playback_ = nullptr;
    int volts_start_position_ = 0;
    int amps_start_position_ = 0;
    WindowFrontend frontend_{*this};
    txm9::panel_session session_;
    bool close_requested_ = false;
};

// The one front-panel window; set while it exists.
extern TForm1* Form1;
