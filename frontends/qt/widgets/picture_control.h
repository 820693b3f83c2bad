// A picture control of the front panel. Without a picture it paints nothing and only
// catches clicks, letting the face show through; it can show a stored picture (sized to
// it); or it carries a drawing surface of its own size on which single pixels are set.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QWidget>

class PictureControl : public QWidget {
    Q_OBJECT

public:
    explicit PictureControl(QWidget* parent = nullptr);

    // Shows a stored picture and takes its size.
    void setPicture(const QImage& picture);
    // The picture or drawing surface shown; null while the control holds none.
    const QImage& picture() const { return picture_; }
    // The drawing surface: the control's size, created white on first use. Writing into it
    // asks for no redraw; call update() once the picture is complete.
    QImage& surface();

    // Shades `shape` (in control coordinates) darker over whatever the control shows, as a
    // key of the face looks while it is held down; until clearPressed().
    void showPressed(const QPainterPath& shape);
    void clearPressed();
    bool pressedShown() const { return !pressed_shade_.isEmpty(); }

signals:
    // A left-button press and release inside the control.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paint_pixel_art(QPainter& painter);

    QImage picture_;
    QPainterPath pressed_shade_;
    bool is_surface_ = false;
    bool pressed_ = false;
};
