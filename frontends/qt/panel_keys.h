// The front panel from the keyboard and the mouse wheel, for a demonstrator who would rather
// not aim at the face: F1 and F2 press the left and right keys, Return or Enter presses the
// knob, "." turns it clockwise and "," anticlockwise, and the wheel over the face turns it one
// step per notch. Each goes through the same handler as a click on its control. None of these
// keys is one the window's own controls use, so a focused slider keeps its arrows, page keys
// and Home/End, and a focused button or box its Space.
#pragma once

#include <QObject>
#include <QPainterPath>
#include <QShortcut>
#include <cstdint>

class PictureControl;
class QTimer;
class TForm1;

// Turns wheel movement into whole knob steps: a notch is WHEEL_NOTCH eighths of a degree, and a
// high-resolution wheel or a touchpad sends it in parts. Movement in the other direction
// starts the count afresh, so a small swipe back and forth turns nothing.
class wheel_notches {
public:
    // Adds a movement (positive: away from the user) and returns the whole notches it
    // completes, negative towards the user.
    int add(int eighths_of_degree);

private:
    int partial_ = 0;
};

class PanelKeys : public QObject {
    Q_OBJECT

public:
    explicit PanelKeys(TForm1& form);

    // A key or a turn of the knob (KEY_SELECT .. KEY_RIGHT) as a keyboard user gives it:
    // through its control's handler, the key or the knob shown pressed on the face.
    void press(uint8_t key);

protected:
    // The wheel over the face.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A click area of the face with the outline of the key or knob under it.
    struct face_part {
        PictureControl* area;
        QPainterPath outline;
        QTimer* release;
    };

    // Shows the part pressed for PRESSED_LOOK_MS, so that an audience sees what was used.
    void show_pressed(face_part& part);
    void turn(int notches);

    TForm1& form_;
    wheel_notches wheel_;
    face_part left_key_;
    face_part knob_;
    face_part right_key_;
};
