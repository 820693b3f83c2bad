#include "pcmain.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <algorithm>
#include <exception>
#include <optional>

#include "deliver_events.h"
#include "display_capture.h"
#include "face_picture.h"
#include "key_input.h"
#include "keys.h"
#include "panel_keys.h"
#include "state.h"
#include "system_colours.h"
#include "tick.h"
#include "ui_pcmain.h"
#include "window_placement.h"

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

TForm1::TForm1(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::TForm1>()) {
    substitute_layout_font();
    ui_->setupUi(this);
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

    Timer1->setInterval(100);
    Timer1->start();

    // Additions a user may ignore: keyboard and wheel; copying, saving and recording the
    // display from its context menu.
    new PanelKeys(*this);
    new DisplayCapture(*this);
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

void TForm1::Button1Click() {
    std::optional<QString> failure;
    // Nothing may unwind through the toolkit's event delivery: a firmware fault ends this run
    // inside the engine, anything else here, and either is reported once the run is over.
    try {
        restart_frame_schedule();
        const run_end end = engine_.power_on();
        if (end.faulted) {
            failure = QString::fromStdString(end.fault);
        }
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    } catch (...) {
        failure = QStringLiteral("Unknown error");
    }
    if (failure) {
        QMessageBox::critical(this, QGuiApplication::applicationDisplayName(), *failure);
    }
    // The display keeps its last frame and the lamp its last colour.
    if (runs() == 0 && close_requested_) {
        close_requested_ = false;
        close();
    }
}

void TForm1::Button2Click() {
    engine_.power_off();
}

void TForm1::Timer1Timer() {
    tick();
}

void TForm1::Image5Click() {
    key_pressed(KEY_SELECT);
}
void TForm1::Image6Click() {
    key_pressed(KEY_RIGHT);
}
void TForm1::Image3Click() {
    key_pressed(KEY_LEFT);
}
void TForm1::Button3Click() {
    key_pressed(KEY_CCW);
}
void TForm1::BitBtn1Click() {
    key_pressed(KEY_CW);
}

void TForm1::TrackBar1Change() {
    raw_volts_adc = static_cast<uint32_t>(TrackBar1->value());
    show_count(Label3, TrackBar1->value());
}

void TForm1::TrackBar2Change() {
    raw_amps_adc = static_cast<uint32_t>(TrackBar2->value());
    show_count(Label4, TrackBar2->value());
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (runs() > 0) {
        close_requested_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
