#include "face_art.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {

constexpr int size = 310;
constexpr QPointF centre(155.0, 155.0);
constexpr qreal disc_radius = 154.5;
constexpr qreal face_radius = 150.5; // inside the bevelled rim

// The front-panel controls the features lie under: left, top, width, height.
constexpr QRectF lamp_area(144, 17, 24, 24);
constexpr QRectF display_area(39, 94, 231, 133);
constexpr QRectF left_key_area(66, 236, 47, 47);
constexpr QRectF knob_area(132, 249, 46, 43);
constexpr QRectF right_key_area(199, 237, 42, 42);

constexpr qreal key_side = 38.0; // both key caps alike, each centred on its click area

QRectF around(QPointF middle, qreal radius) {
    return {middle.x() - radius, middle.y() - radius, 2 * radius, 2 * radius};
}

void draw_disc(QPainter& p) {
    // A turned metal rim, lit from the top left, around a black face.
    QLinearGradient rim(centre.x() - 110, centre.y() - 110, centre.x() + 110, centre.y() + 110);
    rim.setColorAt(0.0, QColor(150, 150, 150));
    rim.setColorAt(0.45, QColor(70, 70, 70));
    rim.setColorAt(1.0, QColor(22, 22, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(around(centre, disc_radius));

    p.setBrush(QColor(8, 8, 8));
    p.drawEllipse(around(centre, face_radius + 1.2));

    QRadialGradient face(QPointF(centre.x(), centre.y() - 60), 210);
    face.setColorAt(0.0, QColor(36, 36, 38));
    face.setColorAt(0.6, QColor(16, 16, 17));
    face.setColorAt(1.0, QColor(5, 5, 5));
    p.setBrush(face);
    p.drawEllipse(around(centre, face_radius));

    // A soft reflection across the upper half of the face, as off a glossy moulding.
    QPainterPath face_area;
    face_area.addEllipse(around(centre, face_radius));
    QPainterPath sheen;
    sheen.addEllipse(QRectF(centre.x() - 190, centre.y() - 260, 380, 250));
    QLinearGradient gloss(0, centre.y() - face_radius, 0, centre.y() - 10);
    gloss.setColorAt(0.0, QColor(255, 255, 255, 26));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setBrush(gloss);
    p.drawPath(face_area.intersected(sheen));

    // A faint edge light just inside the rim.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 28), 0.8));
    p.drawEllipse(around(centre, face_radius - 1.0));
}

void draw_lamp(QPainter& p) {
    const QPointF middle = lamp_area.center();
    const qreal radius = lamp_area.width() / 2.0;

    QLinearGradient bezel(middle.x(), middle.y() - radius - 4, middle.x(), middle.y() + radius + 4);
    bezel.setColorAt(0.0, QColor(190, 190, 190));
    bezel.setColorAt(1.0, QColor(48, 48, 48));
    p.setPen(QPen(QColor(0, 0, 0), 0.8));
    p.setBrush(bezel);
    p.drawEllipse(around(middle, radius + 3.8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 14, 14));
    p.drawEllipse(around(middle, radius + 1.0));

    QRadialGradient dome(QPointF(middle.x() - 4, middle.y() - 4), radius * 1.5);
    dome.setColorAt(0.0, QColor(255, 150, 140));
    dome.setColorAt(0.25, QColor(235, 20, 10));
    dome.setColorAt(1.0, QColor(110, 0, 0));
    p.setBrush(dome);
    p.drawEllipse(around(middle, radius));
}

void draw_text_centred(QPainter& p, const QString& text, const QFont& font, qreal baseline) {
    p.setFont(font);
    const qreal width = QFontMetricsF(font).horizontalAdvance(text);
    p.drawText(QPointF(centre.x() - width / 2.0, baseline), text);
}

void draw_lettering(QPainter& p) {
    QFont maker(QStringLiteral("DejaVu Sans"));
    maker.setPixelSize(15);
    maker.setBold(true);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 1.8);
    maker.setHintingPreference(QFont::PreferNoHinting);
    p.setPen(QColor(250, 250, 250));
    // Letter spacing also follows the last letter: shift by half of it to centre the ink.
    p.save();
    p.translate(0.9, 0);
    draw_text_centred(p, QStringLiteral("BRASKETHOLME"), maker, 65);
    p.restore();

    p.setPen(QPen(QColor(255, 255, 255, 90), 0.7));
    p.drawLine(QPointF(96, 71.5), QPointF(214, 71.5));

    QFont line(QStringLiteral("DejaVu Serif"));
    line.setPixelSize(12);
    line.setItalic(true);
    line.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    line.setHintingPreference(QFont::PreferNoHinting);
    p.setPen(QColor(222, 222, 222));
    draw_text_centred(p, QStringLiteral("Halvernix Quorra"), line, 85);
}

void draw_display_window(QPainter& p) {
    // A moulded bezel with the glass set into it; the glass is exactly the display's panel.
    const QRectF bezel = display_area.adjusted(-6.5, -6.5, 6.5, 6.5);
    QLinearGradient moulding(0, bezel.top(), 0, bezel.bottom());
    moulding.setColorAt(0.0, QColor(74, 74, 76));
    moulding.setColorAt(1.0, QColor(30, 30, 31));
    p.setPen(QPen(QColor(0, 0, 0), 1.0));
    p.setBrush(moulding);
    p.drawRoundedRect(bezel, 7, 7);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 10, 10));
    p.drawRect(display_area.adjusted(-2, -2, 2, 2));
    // The recess catches light on its lower right edge.
    p.setPen(QPen(QColor(120, 120, 120), 1.0));
    p.drawLine(QPointF(display_area.left() - 1.5, display_area.bottom() + 1.5),
               QPointF(display_area.right() + 1.5, display_area.bottom() + 1.5));
    p.drawLine(QPointF(display_area.right() + 1.5, display_area.top() - 1.5),
               QPointF(display_area.right() + 1.5, display_area.bottom() + 1.5));

    QLinearGradient glass(0, display_area.top(), 0, display_area.bottom());
    glass.setColorAt(0.0, QColor(188, 192, 184));
    glass.setColorAt(0.08, QColor(202, 206, 198));
    glass.setColorAt(1.0, QColor(210, 213, 206));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawRect(display_area);
}

void draw_key(QPainter& p, const QRectF& area, const QString& legend, bool up) {
    const QPointF middle = area.center();
    const QRectF cap(middle.x() - key_side / 2, middle.y() - key_side / 2, key_side, key_side);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(cap.translated(1.2, 2.0), 6, 6);

    QLinearGradient body(0, cap.top(), 0, cap.bottom());
    body.setColorAt(0.0, QColor(236, 236, 236));
    body.setColorAt(1.0, QColor(140, 140, 142));
    p.setPen(QPen(QColor(30, 30, 30), 1.0));
    p.setBrush(body);
    p.drawRoundedRect(cap, 6, 6);

    // A shallow dish in the cap.
    QLinearGradient dish(0, cap.top() + 3, 0, cap.bottom() - 3);
    dish.setColorAt(0.0, QColor(196, 196, 198));
    dish.setColorAt(1.0, QColor(222, 222, 222));
    p.setPen(Qt::NoPen);
    p.setBrush(dish);
    p.drawRoundedRect(cap.adjusted(3, 3, -3, -3), 4, 4);

    // The arrow stands under the legend, or in the middle of a cap without one.
    qreal arrow_top = middle.y() - 4.5;
    if (!legend.isEmpty()) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(11);
        font.setBold(true);
        font.setHintingPreference(QFont::PreferNoHinting);
        p.setFont(font);
        p.setPen(QColor(28, 28, 28));
        const qreal width = QFontMetricsF(font).horizontalAdvance(legend);
        p.drawText(QPointF(middle.x() - width / 2.0, middle.y() - 2.5), legend);
        arrow_top = middle.y() + 3.5;
    }

    const qreal tip = up ? arrow_top : arrow_top + 9.0;
    const qreal base = up ? arrow_top + 9.0 : arrow_top;
    QPainterPath triangle;
    triangle.moveTo(middle.x(), tip);
    triangle.lineTo(middle.x() + 6.5, base);
    triangle.lineTo(middle.x() - 6.5, base);
    triangle.closeSubpath();
    p.setBrush(QColor(28, 28, 28));
    p.drawPath(triangle);
}

void draw_knob(QPainter& p) {
    const QPointF middle = knob_area.center();
    const qreal radius = knob_area.height() / 2.0 - 0.5;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 170));
    p.drawEllipse(around(middle + QPointF(1.2, 2.0), radius));

    // A knurled skirt...
    QLinearGradient skirt(0, middle.y() - radius, 0, middle.y() + radius);
    skirt.setColorAt(0.0, QColor(150, 150, 152));
    skirt.setColorAt(1.0, QColor(62, 62, 64));
    p.setPen(QPen(QColor(20, 20, 20), 1.0));
    p.setBrush(skirt);
    p.drawEllipse(around(middle, radius));
    p.setPen(QPen(QColor(40, 40, 40, 160), 0.8));
    for (int i = 0; i < 48; ++i) {
        const qreal angle = i * 2.0 * M_PI / 48.0;
        const QPointF direction(std::cos(angle), std::sin(angle));
        p.drawLine(middle + direction * (radius - 3.6), middle + direction * (radius - 0.8));
    }

    // ...under a domed cap with a pointer dot.
    const qreal cap_radius = radius - 4.5;
    QRadialGradient cap(middle + QPointF(-5, -6), cap_radius * 1.6);
    cap.setColorAt(0.0, QColor(246, 246, 246));
    cap.setColorAt(0.5, QColor(186, 186, 188));
    cap.setColorAt(1.0, QColor(110, 110, 112));
    p.setPen(QPen(QColor(50, 50, 50), 0.8));
    p.setBrush(cap);
    p.drawEllipse(around(middle, cap_radius));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 45, 45));
    p.drawEllipse(around(middle + QPointF(0, -cap_radius + 4.5), 1.7));
}

void draw_battery(QPainter& p, qreal pixel) {
    // A battery in the LCD's ink on the glass, so that the icon says what the instrument
    // watches. No stroke or margin gets narrower than a pixel of the output, or a small icon
    // would lose it; the gaps between the cells close up where a pixel could not show them.
    const QColor ink(38, 42, 38);
    const qreal stroke = std::max(7.0, 1.1 * pixel);
    const qreal margin = std::max(6.0, 0.7 * pixel);
    const qreal gap = pixel > 10 ? 0.0 : 6.0;

    const QRectF body(86, 130, 128, 61);
    p.setPen(QPen(ink, stroke, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(body);

    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawRect(
        QRectF(body.right() + stroke / 2, body.center().y() - 14, std::max(9.0, 1.5 * pixel), 28));

    // Three of four cells charged.
    const qreal inset = stroke / 2 + margin;
    const QRectF inside = body.adjusted(inset, inset, -inset, -inset);
    const qreal cell = (inside.width() - 3 * gap) / 4;
    for (int i = 0; i < 3; ++i) {
        p.drawRect(QRectF(inside.left() + i * (cell + gap), inside.top(), cell, inside.height()));
    }
}

} // namespace

QImage draw_face() {
    QImage face(size, size, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::white);
    QPainter p(&face);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    draw_disc(p);
    draw_lamp(p);
    draw_lettering(p);
    draw_display_window(p);
    draw_key(p, left_key_area, QStringLiteral("F1"), true);
    draw_knob(p);
    draw_key(p, right_key_area, QStringLiteral("F2"), false);
    p.end();
    return face;
}

void paint_icon(QPainter& p, qreal side) {
    p.save();
    p.setRenderHints(QPainter::Antialiasing);
    p.scale(side / size, side / size);
    const qreal pixel = size / side; // one pixel of the output, in the face's units
    draw_disc(p);
    draw_lamp(p);
    draw_display_window(p);
    draw_battery(p, pixel);
    draw_key(p, left_key_area, QString(), true);
    draw_knob(p);
    draw_key(p, right_key_area, QString(), false);
    p.restore();
}
