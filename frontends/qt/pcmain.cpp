#include "pcmain.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "deliver_events.h"
#include "display_capture.h"
#include "engine/panel_colours.h"
#include "engine/timing.h"
#include "face_picture.h"
#include "files/whole_file_writer.h"
#include "firmware/monitor/keys.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"
#include "inspector_window.h"
#include "lcd_reader/lcd_text_reader.h"
#include "panel_control.h"
#include "panel_keys.h"
#include "panel_playback.h"
#include "system_colours.h"
#include "ui_pcmain.h"
#include "window_placement.h"

using namespace txm9;

TForm1* Form1 = nullptr;

namespace {

// Labels take the width of their text, as the layout's auto-sized labels do whatever font
// the desktop substitutes.
void fit_to_text(QLabel* label) {
    label->resize(std::max(label->width(), label->fontMetrics().horizontalAdvance(label->text())),
                  label->height());
}

void show_count(QLabel* label, int count) {
    label->setText(QString::number(count));
    fit_to_text(label);
}

// The layout's font was chosen for its narrow letters; without it, a narrow sans serif keeps
// the captions inside their buttons.
void substitute_layout_font() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"),
                                QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("Liberation Sans Narrow")});
}

} // namespace

TForm1::TForm1(QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::TForm1>()), session_(frontend_, window_clock_ms) {
    substitute_layout_font();
    ui_->setupUi(this);
    // Program start puts the sliders back where the layout has them.
    volts_start_position_ = ui_->TrackBar1->value();
    amps_start_position_ = ui_->TrackBar2->value();
    Button1 = ui_->Button1;
    Button2 = ui_->Button2;
    Timer1 = new QTimer(this);
    StatusBar1 = ui_->StatusBar1;
    Shape1 = ui_->Shape1;
    Image3 = ui_->Image3;
    Image5 = ui_->Image5;
    Image6 = ui_->Image6;
    Image1 = ui_->Image1;
    Panel1 = ui_->Panel1;
    CheckBox2 = ui_->CheckBox2;
    CheckBox3 = ui_->CheckBox3;
    Label1 = ui_->Label1;
    Label2 = ui_->Label2;
    TrackBar1 = ui_->TrackBar1;
    TrackBar2 = ui_->TrackBar2;
    Label3 = ui_->Label3;
    Label4 = ui_->Label4;
    Image2 = ui_->Image2;
    BitBtn1 = ui_->BitBtn1;
    Button3 = ui_->Button3;

    setBackgroundRole(system_colour_role(COLOUR_BUTTON_FACE & 0xFFu));
    Image2->setPicture(load_face_picture(face_picture_bytes()));
    for (QLabel* label : {Label1, Label2, Label3, Label4}) {
        fit_to_text(label);
    }

    // A fixed window with a system menu and a minimise button, but none to maximise it.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    centre_on_screen(*this);

    Form1 = this;

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    connect(Image5, &PictureControl::clicked, this, &TForm1::Image5Click);
    connect(Image6, &PictureControl::clicked, this, &TForm1::Image6Click);
    connect(Image3, &PictureControl::clicked, this, &TForm1::Image3Click);
    // Connected after the layout set the start positions, so those reach no handler: the
    // amps count stays 0 until the slider is first moved, though it stands at 2048.
    connect(TrackBar1, &QSlider::valueChanged, this, &TForm1::TrackBar1Change);
    connect(TrackBar2, &QSlider::valueChanged, this, &TForm1::TrackBar2Change);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);

    Timer1->setInterval(static_cast<int>(TICK_MS));
    Timer1->start();

    // The session is recorded from the start, for saving as a scenario from the inspector.
    connect(CheckBox2, &QCheckBox::clicked, this,
            [this](bool ticked) { session_.calibrate_box(ticked); });
    connect(CheckBox3, &QCheckBox::clicked, this,
            [this](bool ticked) { session_.key_fast_box(ticked); });

    // Additions a user may ignore: keyboard and wheel; copying, saving and recording the
    // display from its context menu.
    keys_ = new PanelKeys(*this);
    new DisplayCapture(*this);
    // The inspector: F12 or Ctrl+I, and the display's context menu after the captures.
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    Image1->addAction(separator);
    auto* inspect = new QAction(QStringLiteral("Inspector…"), this);
    inspect->setShortcuts({QKeySequence(Qt::Key_F12), QKeySequence(Qt::CTRL | Qt::Key_I)});
    inspect->setShortcutContext(Qt::WindowShortcut);
    Image1->addAction(inspect);
    connect(inspect, &QAction::triggered, this, &TForm1::showInspector);
    // A scenario played on the panel, from the display's context menu or the command line.
    playback_ = new PanelPlayback(*this);
    connect(playback_, &PanelPlayback::timeKeeperChanged, this, &TForm1::apply_time_control);
    auto* play = new QAction(QStringLiteral("Play scenario…"), this);
    auto* play_loop = new QAction(QStringLiteral("Play scenario in a loop…"), this);
    Image1->addAction(play);
    Image1->addAction(play_loop);
    connect(play, &QAction::triggered, this, [this] { playScenario(false); });
    connect(play_loop, &QAction::triggered, this, [this] { playScenario(true); });
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

void TForm1::Button1Click() {
    // Timer1 follows the time control as ON leaves it, through the run and after it.
    session_.on_pressed();
    apply_time_control();
    const run_end end = session_.run();
    if (end.faulted) {
        show_failure(QString::fromStdString(end.fault));
    }
    apply_time_control();
    emit runEnded();
    // The display keeps its last frame and the lamp its last colour.
    if (runs() == 0 && close_requested_) {
        close_requested_ = false;
        close();
    }
}

// A played scenario, or a program driving the panel, does not wait for the box: it closes by
// itself after a while.
void TForm1::show_failure(const QString& failure) {
    if (!session_.play_keeps_time() && !PanelControl::driving()) {
        QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), failure);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                                failure, QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
    QTimer::singleShot(3000, box, &QWidget::close);
}

void TForm1::Button2Click() {
    session_.power_off();
}

void TForm1::Timer1Timer() {
    session_.timer_tick();
}

void TForm1::Image5Click() {
    session_.key(KEY_SELECT);
}
void TForm1::Image6Click() {
    session_.key(KEY_RIGHT);
}
void TForm1::Image3Click() {
    session_.key(KEY_LEFT);
}
void TForm1::Button3Click() {
    session_.key(KEY_CCW);
}
void TForm1::BitBtn1Click() {
    session_.key(KEY_CW);
}

void TForm1::TrackBar1Change() {
    session_.volts(static_cast<uint32_t>(TrackBar1->value()));
    show_count(Label3, TrackBar1->value());
}

void TForm1::TrackBar2Change() {
    session_.amps(static_cast<uint32_t>(TrackBar2->value()));
    show_count(Label4, TrackBar2->value());
}

void TForm1::setSpeed(double speed) {
    session_.time().set_speed(speed);
    apply_time_control();
}

void TForm1::setFramesPaused(bool paused) {
    session_.time().set_paused(paused);
    apply_time_control();
}

// Timer1 ticks when the session says the desktop's clock keeps the instrument's time, at the
// speed chosen.
void TForm1::apply_time_control() {
    if (!session_.timer_runs()) {
        Timer1->stop();
        return;
    }
    const double speed = session_.time().speed();
    const int interval = static_cast<int>(std::lround(session_.time().tick_period_ms()));
    if (!Timer1->isActive() || Timer1->interval() != interval) {
        Timer1->setTimerType(speed > 1.0 ? Qt::PreciseTimer : Qt::CoarseTimer);
        Timer1->start(interval);
    }
}

InspectorWindow* TForm1::inspector() {
    if (inspector_ == nullptr) {
        inspector_ = new InspectorWindow(*this);
    }
    return inspector_;
}

void TForm1::programStart() {
    session_.program_start();
    {
        const QSignalBlocker volts(TrackBar1);
        const QSignalBlocker amps(TrackBar2);
        TrackBar1->setValue(volts_start_position_);
        TrackBar2->setValue(amps_start_position_);
    }
    show_count(Label3, 0);
    show_count(Label4, 0);
    CheckBox2->setChecked(false);
    CheckBox3->setChecked(false);
}

void TForm1::playScenario(bool loop) {
    const QString path = QFileDialog::getOpenFileName(
        this, loop ? QStringLiteral("Play scenario in a loop") : QStringLiteral("Play scenario"),
        QString(), QStringLiteral("Scenarios (*.scenario);;All files (*)"));
    if (!path.isEmpty()) {
        playback_->play(path, loop, false);
    }
}

void TForm1::showInspector() {
    inspector()->open();
}

std::string TForm1::sessionScenario() const {
    // The display's longest reading stands for what it showed.
    std::string text;
    for (const found_text& found : find_all_texts()) {
        if (found.text.size() > text.size()) {
            text = found.text;
        }
    }
    return session_.recorder().scenario_text(session_.ms_since_start(), session_.run_goes_on(),
                                             screen_name(active_screen), text);
}

void TForm1::saveSession() {
    const QString suggested = QDir::home().filePath(
        QStringLiteral("txm9-session-%1.scenario")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    const QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save session as scenario"), suggested,
                                     QStringLiteral("Scenarios (*.scenario);;All files (*)"));
    if (!path.isEmpty()) {
        saveSessionTo(path);
    }
}

bool TForm1::saveSessionTo(const QString& path) {
    // Whole or not at all, with the system's reason when not.
    const std::string error =
        write_whole_file(QFile::encodeName(path).toStdString(), sessionScenario());
    if (!error.empty()) {
        QMessageBox::critical(
            this, QGuiApplication::applicationDisplayName(),
            QStringLiteral("The session could not be saved to %1.\n%2")
                .arg(QDir::toNativeSeparators(path), QString::fromStdString(error)));
        return false;
    }
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (runs() > 0) {
        close_requested_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
