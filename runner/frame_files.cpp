#include "frame_files.h"

#include <QFile>
#include <QImage>
#include <QSaveFile>

#include "framebuffer.h"
#include "lcd_picture.h"

namespace {

QImage display_image(int scale) {
    QImage image(lcd_picture_width(scale, false), lcd_picture_height(scale, false),
                 QImage::Format_RGB32);
    paint_lcd_picture(reinterpret_cast<uint32_t*>(image.bits()),
                      image.bytesPerLine() / static_cast<qsizetype>(sizeof(uint32_t)), scale,
                      LCD_COLOURS, false);
    return image;
}

std::string save_whole(const QImage& image, const std::string& path) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return "cannot write " + path + ": " + file.errorString().toStdString();
    }
    if (!image.save(&file, "PNG") || !file.commit()) {
        file.cancelWriting();
        return "cannot write " + path + ": " + file.errorString().toStdString();
    }
    return {};
}

bool dark(QRgb pixel) {
    return qGray(pixel) < 128;
}

bool load_reference(const std::string& path, QImage& image, std::string& problem) {
    if (!QFile::exists(QString::fromStdString(path))) {
        problem = "no reference frame " + path + " (run with --update to write it)";
        return false;
    }
    if (!image.load(QString::fromStdString(path))) {
        problem = "cannot read " + path + " as a PNG picture";
        return false;
    }
    if (image.width() != LCD_WIDTH || image.height() != LCD_HEIGHT) {
        problem = path + " is " + std::to_string(image.width()) + " x " +
                  std::to_string(image.height()) + ", not the display's 114 x 64";
        return false;
    }
    return true;
}

} // namespace

std::string write_display_png(const std::string& path, int scale) {
    return save_whole(display_image(scale), path);
}

frame_check compare_display_with(const std::string& reference) {
    frame_check check;
    QImage expected;
    if (!load_reference(reference, expected, check.problem)) {
        return check;
    }
    check.readable = true;
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            const bool lit = lcd_get_pixel(static_cast<uint8_t>(x), static_cast<uint8_t>(y)) != 0;
            if (lit != dark(expected.pixel(x, y))) {
                if (check.differing++ == 0) {
                    check.first_x = x;
                    check.first_y = y;
                }
            }
        }
    }
    return check;
}

std::string write_mismatch_pictures(const std::string& reference, const std::string& prefix) {
    const QImage actual = display_image(1);
    QImage expected;
    std::string problem;
    if (!load_reference(reference, expected, problem)) {
        return problem;
    }
    QImage diff = actual.copy();
    for (int y = 0; y < LCD_HEIGHT; ++y) {
        for (int x = 0; x < LCD_WIDTH; ++x) {
            const bool differs = dark(actual.pixel(x, y)) != dark(expected.pixel(x, y));
            const int grey = dark(actual.pixel(x, y)) ? 140 : 235;
            diff.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(grey, grey, grey));
        }
    }
    for (const auto& [image, suffix] :
         {std::pair{actual, ".actual.png"}, std::pair{expected, ".expected.png"},
          std::pair{diff, ".diff.png"}}) {
        const std::string error = save_whole(image, prefix + suffix);
        if (!error.empty()) {
            return error;
        }
    }
    return {};
}
