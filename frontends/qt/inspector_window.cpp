#include "inspector_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "engine/inspector_model.h"
#include "engine/panel_colours.h"
#include "pcmain.h"

using namespace txm9;

namespace {

constexpr int REFRESH_MS = 200;
constexpr int FLASH_MS = 700;
constexpr const double (&SPEEDS)[4] = time_control::SPEEDS;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// A setting is plain at its factory value and marked where it was changed.
QString shown(const inspector_value& value) {
    if (!value.setting) {
        return qt(value.text);
    }
    if (!value.changed) {
        return qt(value.text) + QStringLiteral(" <span style='color:gray'>(factory)</span>");
    }
    return QStringLiteral("<b>%1</b> <span style='color:#a05000'>(factory %2)</span>")
        .arg(qt(value.text), qt(value.factory));
}

} // namespace

InspectorWindow::InspectorWindow(TForm1& form) : QWidget(&form, Qt::Tool), form_(form) {
    setWindowTitle(QStringLiteral("TXM-9 Inspector"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    clock_.start();
    refresh_timer_.setInterval(REFRESH_MS);
    connect(&refresh_timer_, &QTimer::timeout, this, &InspectorWindow::refresh);
    build();
}

void InspectorWindow::build() {
    inspector_sources sources;
    sources.panel = &form_.engine();
    sources.time = &form_.session().time();
    sources.lamp_lit = [this] { return form_.session().lamp_lit(); };
    const std::vector<inspector_section> sections = inspector_sections(sources);

    // Time control and the session, above the values.
    auto* controls = new QHBoxLayout;
    pause_ = new QPushButton(QStringLiteral("Pause"));
    pause_->setCheckable(true);
    step_ = new QPushButton(QStringLiteral("Step"));
    step_->setToolTip(QStringLiteral("One pass of the main loop"));
    controls->addWidget(pause_);
    controls->addWidget(step_);
    speeds_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* button = new QToolButton;
        button->setText(qt(speed_name(SPEEDS[i])));
        button->setCheckable(true);
        button->setToolTip(
            QStringLiteral("Passes and tick at %1 their speed").arg(qt(speed_name(SPEEDS[i]))));
        speeds_->addButton(button, i);
        controls->addWidget(button);
    }
    controls->addStretch();
    auto* session = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save session as scenario…"));
    save->setToolTip(QStringLiteral("Every input since the program started, for txm9-scenario"));
    session->addWidget(save);
    // A scenario played on the panel at the speed chosen above, once or round and round.
    auto* play = new QPushButton(QStringLiteral("Play scenario…"));
    play->setToolTip(QStringLiteral("Plays a scenario on the panel; touching the panel stops it"));
    auto* loop = new QCheckBox(QStringLiteral("Loop"));
    loop->setToolTip(QStringLiteral("Plays it again from program start after its last line"));
    session->addWidget(play);
    session->addWidget(loop);
    session->addStretch();
    connect(play, &QPushButton::clicked, this,
            [this, loop] { form_.playScenario(loop->isChecked()); });
    connect(pause_, &QPushButton::toggled, this, [this](bool on) {
        form_.setFramesPaused(on);
        refresh_controls();
    });
    connect(step_, &QPushButton::clicked, this, [this] { form_.session().time().step(); });
    connect(speeds_, &QButtonGroup::idClicked, this, [this](int id) {
        form_.setSpeed(SPEEDS[id]);
        refresh_controls();
    });
    connect(save, &QPushButton::clicked, &form_, &TForm1::saveSession);

    // Two columns, narrow enough to stand beside the front panel on a common screen: run,
    // measurement, alarm and tick on the left, screen and settings on the right.
    struct place {
        int row, column, rows;
    };
    constexpr place places[] = {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {0, 1, 2}, {2, 1, 2}, {3, 0, 1}};
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < sections.size() && i < std::size(places); ++i) {
        grid->addWidget(group(sections[i]), places[i].row, places[i].column, places[i].rows, 1);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(session);
    layout->addLayout(grid);
}

QWidget* InspectorWindow::group(const inspector_section& section) {
    auto* box = new QGroupBox(qt(section.title));
    auto* form = new QFormLayout(box);
    for (const inspector_row& model : section.rows) {
        row r{qt(model.label), model.value, new QLabel, QString(), -1000000, false};
        r.shown->setTextFormat(Qt::RichText);
        form->addRow(r.label + QLatin1Char(':'), r.shown);
        rows_.push_back(std::move(r));
    }
    return box;
}

void InspectorWindow::open() {
    if (!isVisible()) {
        // Beside the front panel, on the right if the screen has room, else on the left.
        const QRect panel = form_.frameGeometry();
        refresh(); // the values give the window its width
        adjustSize();
        QPoint at(panel.right() + 8, panel.top());
        if (const QScreen* s = form_.screen(); s != nullptr) {
            const QRect room = s->availableGeometry();
            if (at.x() + width() > room.right()) {
                const int left = panel.left() - width() - 8;
                // Where neither side has room, it covers as little of the panel as it can.
                at.setX(left >= room.left() ? left : room.right() - width());
            }
            at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - height())));
        }
        move(at);
    }
    show();
    raise();
    activateWindow();
}

QString InspectorWindow::shownValue(const QString& label) const {
    for (const row& r : rows_) {
        if (r.label == label) {
            return r.last;
        }
    }
    return {};
}

void InspectorWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    refresh_timer_.start();
}

void InspectorWindow::hideEvent(QHideEvent* event) {
    refresh_timer_.stop();
    QWidget::hideEvent(event);
}

void InspectorWindow::refresh() {
    const qint64 now = clock_.elapsed();
    for (row& r : rows_) {
        const QString value = shown(r.value());
        if (value != r.last) {
            if (!r.last.isNull()) {
                r.changed_at = now;
            }
            r.last = value;
            r.shown->setText(value);
        }
        // A value that just changed stands on yellow for a moment.
        const bool flashing = now - r.changed_at < FLASH_MS;
        if (flashing != r.flashing) {
            r.flashing = flashing;
            r.shown->setStyleSheet(flashing ? QStringLiteral("background: #ffec8c") : QString());
        }
    }
    refresh_controls();
}

void InspectorWindow::refresh_controls() {
    const QSignalBlocker block(pause_);
    const time_control& time = form_.session().time();
    pause_->setChecked(time.paused());
    pause_->setText(time.paused() ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    step_->setEnabled(time.paused() && form_.runs() > 0);
    for (int i = 0; i < 4; ++i) {
        speeds_->button(i)->setChecked(SPEEDS[i] == time.speed());
    }
}
