#include "picture_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

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

namespace {

// `picture` resampled to `covered` device pixels at `ratio` device pixels per picture pixel,
// each device pixel taking the colour of the picture pixel under its centre.
QImage nearest_neighbour(const QImage& picture, QSize covered, qreal ratio) {
    QImage out(covered, QImage::Format_RGB32);
    std::vector<int> columns(static_cast<std::size_t>(covered.width()));
    for (int x = 0; x < covered.width(); ++x) {
        columns[static_cast<std::size_t>(x)] =
            std::min(picture.width() - 1, static_cast<int>((x + 0.5) / ratio));
    }
    for (int y = 0; y < covered.height(); ++y) {
        const int row = std::min(picture.height() - 1, static_cast<int>((y + 0.5) / ratio));
        const auto* in = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < covered.width(); ++x) {
            line[x] = in[columns[static_cast<std::size_t>(x)]];
        }
    }
    return out;
}

} // namespace

void PictureControl::showPressed(const QPainterPath& shape) {
    pressed_shade_ = shape;
    update();
}

void PictureControl::clearPressed() {
    if (!pressed_shade_.isEmpty()) {
        pressed_shade_ = QPainterPath();
        update();
    }
}

void PictureControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (is_surface_) {
        paint_pixel_art(painter);
    } else if (!picture_.isNull()) {
        // A stored picture (the face) may be smoothed when the desktop scales it.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture_);
    }
    if (!pressed_shade_.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(pressed_shade_, QColor(0, 0, 0, 110));
    }
}

void PictureControl::paint_pixel_art(QPainter& painter) {
    // The display picture is pixel art: on a scaled desktop it still fills the control, each
    // of its pixels covering whole device pixels in its own colour, never blended with its
    // neighbours. At a fractional scale some blocks are one device pixel wider or taller than
    // others; drawn at the whole scale below instead, it would leave part of the control
    // empty.
    const QTransform device = painter.deviceTransform();
    const qreal ratio = device.m11(); // device pixels per control pixel
    const QPoint origin(qRound(device.dx()), qRound(device.dy()));
    const QSize covered(qRound(device.dx() + width() * ratio) - origin.x(),
                        qRound(device.dy() + height() * ratio) - origin.y());
    painter.save();
    // From here on one unit is one device pixel, from the device pixel nearest the corner.
    painter.setWorldTransform(
        QTransform::fromTranslate(origin.x() - device.dx(), origin.y() - device.dy()) *
        QTransform::fromScale(1.0 / ratio, 1.0 / ratio));
    if (covered == picture_.size()) {
        painter.drawImage(0, 0, picture_);
    } else {
        painter.drawImage(0, 0, nearest_neighbour(picture_, covered, ratio));
    }
    painter.restore();
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
