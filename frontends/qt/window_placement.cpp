#include "window_placement.h"

#include <QEvent>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

// Waits for the frame: its size is known only once the window manager has put the shown
// window in it, which may keep the client area where it was and only activate the window.
// Centres once, then goes.
class FrameCentring : public QObject {
public:
    explicit FrameCentring(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show &&
            type != QEvent::WindowActivate && type != QEvent::ActivationChange) {
            return false;
        }
        const QScreen* screen = window_.screen();
        const QRect frame = window_.frameGeometry();
        if (screen == nullptr || !window_.isVisible() || frame.size() == window_.size()) {
            return false;
        }
        window_.removeEventFilter(this);
        // A top-level window's position is that of its frame.
        window_.move(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, frame.size(),
                                         screen->availableGeometry())
                         .topLeft());
        deleteLater();
        return false;
    }

private:
    QWidget& window_;
};

} // namespace

void centre_on_screen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                               screen->availableGeometry()));
    }
    new FrameCentring(window);
}
