#include "display_capture.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QStandardPaths>
#include <vector>

#include "engine/lcd_picture.h"
#include "files/whole_file_writer.h"
#include "gif_recorder.h"
#include "pcmain.h"
#include "render_lcd.h"

using namespace txm9;

namespace {

// The display at `scale` in the window's colours.
QImage display_picture(int scale) {
    const std::vector<uint32_t> pixels = lcd_picture(scale, shown_lcd_colours());
    const int width = lcd_picture_width(scale, false);
    const QImage view(reinterpret_cast<const uchar*>(pixels.data()), width,
                      lcd_picture_height(scale, false), width * 4, QImage::Format_RGB32);
    return view.copy();
}

QAction* display_action(TForm1& form, const QString& text, QKeySequence key) {
    auto* action = new QAction(text, &form);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    form.Image1->addAction(action);
    return action;
}

// The scales offered when saving, in the order the dialog lists them; twice, as on the panel,
// is chosen at first.
const struct {
    int scale;
    const char* filter;
} SAVE_SCALES[] = {{1, QT_TRANSLATE_NOOP("DisplayCapture", "PNG, native 114 × 64 (*.png)")},
                   {2, QT_TRANSLATE_NOOP("DisplayCapture", "PNG, as shown 228 × 128 (*.png)")},
                   {4, QT_TRANSLATE_NOOP("DisplayCapture", "PNG, four times 456 × 256 (*.png)")}};

} // namespace

DisplayCapture::DisplayCapture(TForm1& form)
    : QObject(&form), form_(form), recorder_(new GifRecorder(form)) {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    folder_ = !pictures.isEmpty() && QDir(pictures).exists() ? pictures : QDir::currentPath();

    form.Image1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(display_action(form, tr("Copy display"), QKeySequence::Copy), &QAction::triggered, this,
            &DisplayCapture::copy);
    connect(display_action(form, tr("Save display…"), QKeySequence::Save), &QAction::triggered,
            this, &DisplayCapture::save);
    record_ = display_action(form, tr("Record display"), QKeySequence(Qt::CTRL | Qt::Key_R));
    record_->setCheckable(true);
    connect(record_, &QAction::triggered, this, &DisplayCapture::toggle_recording);
    connect(recorder_, &GifRecorder::stopped, this, &DisplayCapture::show_recording_state);
    // Shown at the next event delivery: a frame is recorded inside a pass.
    connect(
        recorder_, &GifRecorder::failed, this,
        [this](const QString& why) { report(tr("The recording could not be written."), why); },
        Qt::QueuedConnection);
}

void DisplayCapture::copy() {
    QGuiApplication::clipboard()->setImage(display_picture(2));
}

void DisplayCapture::save() {
    QFileDialog dialog(&form_, tr("Save display"), suggested_path(QStringLiteral("png")));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QStringList filters;
    for (const auto& s : SAVE_SCALES) {
        filters << tr(s.filter);
    }
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QString path = dialog.selectedFiles().constFirst();
    folder_ = QFileInfo(path).absolutePath();
    save_to(
        path,
        SAVE_SCALES[std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))].scale);
}

bool DisplayCapture::save_to(const QString& path, int scale) {
    // Encoded in memory, then written whole or not at all: a buffered write that fails must
    // not pass for a saved file.
    QByteArray png;
    QBuffer buffer(&png);
    std::string error;
    if (!buffer.open(QIODevice::WriteOnly) || !display_picture(scale).save(&buffer, "PNG")) {
        error = "the picture could not be encoded";
    } else {
        error = write_whole_file(QFile::encodeName(path).toStdString(),
                                 std::string_view(png.constData(), png.size()));
    }
    if (!error.empty()) {
        report(tr("The display could not be saved to %1.").arg(QDir::toNativeSeparators(path)),
               QString::fromStdString(error));
        return false;
    }
    return true;
}

void DisplayCapture::toggle_recording() {
    if (recorder_->recording()) {
        if (!recorder_->stop()) {
            report(tr("The recording could not be written."), recorder_->error());
        }
        return;
    }
    const QString path = QFileDialog::getSaveFileName(&form_, tr("Record display"),
                                                      suggested_path(QStringLiteral("gif")),
                                                      tr("Animated GIF (*.gif)"));
    if (!path.isEmpty()) {
        folder_ = QFileInfo(path).absolutePath();
        if (!recorder_->start(path)) {
            report(tr("The recording could not be started."), recorder_->error());
        }
    }
    show_recording_state();
}

QString DisplayCapture::suggested_path(const QString& suffix) const {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QDir(folder_).filePath(QStringLiteral("txm9-display-%1.%2").arg(stamp, suffix));
}

void DisplayCapture::report(const QString& what, const QString& why) {
    QMessageBox::critical(&form_, QGuiApplication::applicationDisplayName(),
                          why.isEmpty() ? what : what + QLatin1Char('\n') + why);
}

void DisplayCapture::show_recording_state() {
    record_->setChecked(recorder_->recording());
    record_->setText(recorder_->recording() ? tr("Stop recording") : tr("Record display"));
}
