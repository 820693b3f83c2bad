#include "gif_recorder.h"

#include <QFileInfo>
#include <QStatusBar>

#include "engine/lcd_picture.h"
#include "pcmain.h"
#include "render_lcd.h"

using namespace txm9;

namespace {

// The display as the window shows it, without the picture's margin.
constexpr int RECORDED_SCALE = 2;

} // namespace

GifRecorder::GifRecorder(TForm1& form) : QObject(&form), form_(form) {
    connect(&form, &TForm1::displayPainted, this, &GifRecorder::take_frame);
    state_.setInterval(1000);
    connect(&state_, &QTimer::timeout, this, &GifRecorder::show_state);
}

GifRecorder::~GifRecorder() {
    // The window is going: finish the file without touching it.
    if (writer_.recording()) {
        writer_.finish(static_cast<uint64_t>(clock_.elapsed()));
    }
}

bool GifRecorder::start(const QString& path) {
    if (!writer_.open(path.toStdString(), lcd_picture_width(RECORDED_SCALE, false),
                      lcd_picture_height(RECORDED_SCALE, false), shown_lcd_colours())) {
        return false;
    }
    name_ = QFileInfo(path).fileName();
    clock_.start();
    take_frame();
    show_state();
    state_.start();
    return writer_.recording();
}

bool GifRecorder::stop() {
    if (!writer_.recording()) {
        return false;
    }
    const bool written = writer_.finish(static_cast<uint64_t>(clock_.elapsed()));
    state_.stop();
    form_.StatusBar1->clearMessage();
    emit stopped();
    return written;
}

void GifRecorder::take_frame() {
    if (!writer_.recording()) {
        return;
    }
    const std::vector<uint32_t> picture = lcd_picture(RECORDED_SCALE, shown_lcd_colours());
    if (!writer_.add(picture.data(), static_cast<uint64_t>(clock_.elapsed()))) {
        state_.stop();
        form_.StatusBar1->clearMessage();
        emit stopped();
        emit failed(error());
    }
}

void GifRecorder::show_state() {
    form_.StatusBar1->showMessage(tr("Recording the display to %1: %2 s (Ctrl+R stops)")
                                      .arg(name_)
                                      .arg(clock_.elapsed() / 1000));
}
