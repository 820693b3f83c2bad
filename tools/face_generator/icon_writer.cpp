#include "icon_writer.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "face_art.h"

namespace {

// The sizes of the hicolor theme's fixed-size folders that menus, panels and window lists use.
constexpr int png_sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The SVG's own size: its user units are then the face's pixels, which keeps the numbers in
// the file the same as in the artwork's source.
constexpr int svg_side = 310;

std::string make_folder(const QString& path) {
    if (!QDir().mkpath(path)) {
        return "cannot create the folder " + path.toStdString();
    }
    return {};
}

} // namespace

std::string write_icon_theme(const std::string& theme_dir, const std::string& name,
                             const std::string& note) {
    const QString theme = QString::fromStdString(theme_dir);
    const QString file_name = QString::fromStdString(name);
    const QString text = QString::fromStdString(note);

    for (const int side : png_sizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(side);
        if (std::string error = make_folder(folder); !error.empty()) {
            return error;
        }
        QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        paint_icon(p, side);
        p.end();
        icon.setText(QStringLiteral("Comment"), text);
        const QString path = folder + QLatin1Char('/') + file_name + QStringLiteral(".png");
        if (!icon.convertToFormat(QImage::Format_ARGB32).save(path, "PNG")) {
            return "cannot write " + path.toStdString();
        }
    }

    const QString folder = theme + QStringLiteral("/scalable/apps");
    if (std::string error = make_folder(folder); !error.empty()) {
        return error;
    }
    const QString path = folder + QLatin1Char('/') + file_name + QStringLiteral(".svg");
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(svg_side, svg_side));
    svg.setViewBox(QRect(0, 0, svg_side, svg_side));
    svg.setTitle(QStringLiteral("TXM-9 Simulator"));
    svg.setDescription(text);
    QPainter p;
    if (!p.begin(&svg)) {
        return "cannot write " + path.toStdString();
    }
    paint_icon(p, svg_side);
    p.end();
    return {};
}
