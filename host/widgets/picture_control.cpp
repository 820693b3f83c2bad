#include "picture_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {}

void PictureControl::setPicture(const QImage& picture) {
    picture_ = picture;
    is_surface_ = false;
    resize(picture_.size());
    update();
}

QImage& PictureControl::surface() {
    if (!is_surface_ || picture_.size() != size()) {
        picture_ = QImage(size(), QImage::Format_RGB32);
        picture_.fill(Qt::white);
        is_surface_ = true;
    }
    return picture_;
}

void PictureControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) {
        return;
    }
    QPainter painter(this);
    if (!is_surface_) {
        // A stored picture (the face) may be smoothed when the desktop scales it.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_);
        return;
    }
    // The display picture is pixel art: on a scaled desktop each of its pixels becomes a
    // whole number of device pixels, never blended with its neighbours. At a fractional
    // scale it is drawn at the whole scale below and the rest of the control left white.
    const qreal ratio = painter.deviceTransform().m11(); // device pixels per control pixel
    const qreal whole = std::max<qreal>(1.0, std::floor(ratio + 1e-6));
    painter.scale(1.0 / ratio, 1.0 / ratio);
    painter.fillRect(QRectF(0, 0, width() * ratio, height() * ratio), Qt::white);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(0, 0, picture_.width() * whole, picture_.height() * whole), picture_);
}

void PictureControl::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void PictureControl::mouseReleaseEvent(QMouseEvent* event) {
    const bool was_pressed = pressed_;
    pressed_ = false;
    if (was_pressed && event->button() == Qt::LeftButton &&
        rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}
