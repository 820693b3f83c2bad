// The window driven by a program through the control protocol, on a Unix domain socket that
// only its user may open: a request's inputs go through the panel's own controls, as a
// play's do (keys and the knob shown pressed, the sliders and boxes moving, ON and OFF
// pressed), so that a person watching sees them, and its waits pass on the window's time.
// One client at a time; another is told so and closed. Replies are buffered by the socket, so
// a client that reads slowly never holds up the window, and one that stops reading
// altogether is dropped before its replies fill the memory.
#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>
#include <vector>

#include "control/control_session.h"
#include "window_controls.h"

class TForm1;

class PanelControl : public QObject, public WindowControls {
    Q_OBJECT

public:
    explicit PanelControl(TForm1& form);
    ~PanelControl() override;

    // Listens at `path` (mode 0600; a stale socket of a program that has gone is replaced).
    // False with the reason in `problem`.
    bool listen(const QString& path, QString& problem);
    // The default place: the user's runtime folder.
    static QString defaultPath();
    // The control listening now, for the window's frames; null if none.
    static PanelControl* active();
    // A program drives the panel now: nothing may wait for a person to click.
    static bool driving();

    // The window's frames, from its engine frontend.
    void frameShown(const txm9::frame_report& frame);
    void frameDelivered();

    // txm9::scenario_panel: the window's controls (WindowControls), on this one's time.
    uint64_t now_ms() const override;

private:
    void accept();
    void adopt(QLocalSocket* socket);
    void read();
    void take_lines(bool after_frame);
    void client_gone();
    void run_ended();
    void after_step();
    void resume();
    void send(const std::string& line);
    void retire_closed();

    QLocalServer server_;
    QString path_;
    QPointer<QLocalSocket> client_;
    txm9::line_reader lines_;
    std::deque<txm9::request_line> pending_; // read, not yet handed to the session
    std::unique_ptr<txm9::control_session> session_;
    // Sessions whose client has gone, kept until no call into them is under way.
    std::vector<std::unique_ptr<txm9::control_session>> closed_;
    int in_session_ = 0;
    uint64_t ms_ = 0; // instrument time: 25 ms a frame, and the time waited while off
    QTimer resume_timer_;
};
