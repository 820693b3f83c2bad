#include "panel_keys.h"

#include <QTimer>
#include <QWheelEvent>

#include "engine/panel_inputs.h"
#include "firmware/monitor/keys.h"
#include "pcmain.h"

using namespace txm9;

namespace {

QPainterPath key_outline(QRectF key) {
    QPainterPath path;
    path.addRoundedRect(key, 4, 4);
    return path;
}

QPainterPath knob_outline(QRectF knob) {
    QPainterPath path;
    path.addEllipse(knob);
    return path;
}

// A window-wide key that presses or turns the panel.
QShortcut* panel_shortcut(TForm1& form, QKeySequence key, bool repeats) {
    auto* shortcut = new QShortcut(key, &form);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setAutoRepeat(repeats);
    return shortcut;
}

} // namespace

int wheel_notches::add(int eighths_of_degree) {
    if ((eighths_of_degree > 0 && partial_ < 0) || (eighths_of_degree < 0 && partial_ > 0)) {
        partial_ = 0;
    }
    partial_ += eighths_of_degree;
    const int notches = partial_ / WHEEL_NOTCH;
    partial_ -= notches * WHEEL_NOTCH;
    return notches;
}

PanelKeys::PanelKeys(TForm1& form)
    : QObject(&form), form_(form),
      // The keys and the knob as the face picture draws them under their click areas.
      left_key_{form.Image3, key_outline({5, 5, 36, 36}), new QTimer(this)},
      knob_{form.Image5, knob_outline({3, 1, 37, 37}), new QTimer(this)},
      right_key_{form.Image6, key_outline({3, 2, 37, 36}), new QTimer(this)} {
    for (face_part* part : {&left_key_, &knob_, &right_key_}) {
        part->release->setSingleShot(true);
        part->release->setInterval(PRESSED_LOOK_MS);
        connect(part->release, &QTimer::timeout, part->area, &PictureControl::clearPressed);
    }

    // A held key presses once, as a held mouse button clicks once; a held turn key keeps
    // turning, as a knob turned on does. Return is also Enter, on the keypad or not.
    const QString turn = QStringLiteral("turn ");
    for (const panel_input& input : panel_inputs) {
        const QString key = QString::fromUtf8(input.keyboard);
        const bool repeats = QString::fromUtf8(input.word).startsWith(turn);
        QList<QKeySequence> sequences{QKeySequence::fromString(key, QKeySequence::PortableText)};
        if (key == QStringLiteral("Return")) {
            sequences << QKeySequence(Qt::Key_Enter)
                      << QKeySequence(Qt::KeypadModifier | Qt::Key_Enter);
        }
        const uint8_t code = input.key;
        for (const QKeySequence& sequence : sequences) {
            connect(panel_shortcut(form, sequence, repeats), &QShortcut::activated, this,
                    [this, code] { press(code); });
        }
    }

    // Each control's tooltip names its keys.
    for (const panel_input& input : panel_inputs) {
        if (auto* control = form.findChild<QWidget*>(QString::fromUtf8(input.control))) {
            control->setToolTip(QString::fromUtf8(input.tooltip));
        }
    }

    // Wheel events the controls over the face leave alone reach the window.
    form.installEventFilter(this);
}

bool PanelKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (form_.Image2->geometry().contains(wheel->position().toPoint())) {
            turn(wheel_.add(wheel->angleDelta().y()));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void PanelKeys::press(uint8_t key) {
    switch (key) {
    case KEY_SELECT:
        form_.session().key(key);
        show_pressed(knob_);
        break;
    case KEY_LEFT:
        form_.session().key(key);
        show_pressed(left_key_);
        break;
    case KEY_RIGHT:
        form_.session().key(key);
        show_pressed(right_key_);
        break;
    case KEY_CW:
        turn(1);
        break;
    case KEY_CCW:
        turn(-1);
        break;
    default:
        break;
    }
}

void PanelKeys::turn(int notches) {
    for (; notches > 0; --notches) {
        form_.session().key(KEY_CW);
        show_pressed(knob_);
    }
    for (; notches < 0; ++notches) {
        form_.session().key(KEY_CCW);
        show_pressed(knob_);
    }
}

void PanelKeys::show_pressed(face_part& part) {
    part.area->showPressed(part.outline);
    part.release->start();
}
