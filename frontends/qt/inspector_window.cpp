#include "inspector_window.h"

#include <QButtonGroup>
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

#include "deliver_events.h"
#include "engine/instrument_snapshot.h"
#include "engine/instrument_variables.h"
#include "engine/timing.h"
#include "firmware/monitor/keys.h"
#include "engine/panel_colours.h"
#include "pcmain.h"
#include "firmware/monitor/screen_list.h"
#include "firmware/monitor/state.h"

using namespace txm9;

namespace {

constexpr int REFRESH_MS = 200;
constexpr int FLASH_MS = 700;
constexpr const double (&SPEEDS)[4] = time_control::SPEEDS;

QString tenths(int64_t v, const char* unit) {
    return QStringLiteral("%1%2.%3 %4")
        .arg(v < 0 ? "-" : "")
        .arg(std::llabs(v) / 10)
        .arg(std::llabs(v) % 10)
        .arg(unit);
}

QString yes_no(bool on) {
    return on ? QStringLiteral("yes") : QStringLiteral("no");
}

QString key_name(uint8_t code) {
    switch (code) {
    case 0:
        return QStringLiteral("empty");
    case KEY_SELECT:
        return QStringLiteral("1 knob pressed");
    case KEY_CW:
        return QStringLiteral("2 turned clockwise");
    case KEY_CCW:
        return QStringLiteral("3 turned anticlockwise");
    case KEY_LEFT:
        return QStringLiteral("4 left key");
    case KEY_RIGHT:
        return QStringLiteral("5 right key");
    default:
        return QString::number(code);
    }
}

// Seconds until `steps` more 2-second steps have gone by, counted from the tick phase now.
QString seconds_after_steps(int steps) {
    const int ticks = (TICKS_PER_STEP - step_ticks) + (steps - 1) * TICKS_PER_STEP;
    return QStringLiteral("%1 s").arg(ticks * static_cast<double>(TICK_MS) / 1000.0, 0, 'f', 1);
}

QString speed_name(double speed) {
    return speed == 0.25 ? QStringLiteral("×¼") : QStringLiteral("×%1").arg(speed);
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

void InspectorWindow::add(const QString& label, std::function<QString()> value) {
    rows_.push_back(row{label, std::move(value), nullptr, QString(), -1000000, false});
}

// A setting or calibration value: plain at its factory value, marked when changed.
void InspectorWindow::add_setting(const char* name, std::function<QString(int64_t)> format) {
    const instrument_variable* v = find_instrument_variable(name);
    int64_t factory = 0;
    const bool has_factory = factory_value(name, factory);
    add(QString::fromLatin1(name), [v, factory, has_factory, format] {
        const int64_t now = v->read();
        if (!has_factory || now == factory) {
            return format(now) + QStringLiteral(" <span style='color:gray'>(factory)</span>");
        }
        return QStringLiteral("<b>%1</b> <span style='color:#a05000'>(factory %2)</span>")
            .arg(format(now), format(factory));
    });
}

void InspectorWindow::build() {
    auto count = [](const uint32_t& v) { return [&v] { return QString::number(v); }; };
    auto number = [](int64_t v) { return QString::number(v); };

    add(QStringLiteral("state"), [this] {
        switch (form_.engine().phase()) {
        case panel_phase::off:
            return QStringLiteral("off");
        case panel_phase::splash:
            return QStringLiteral("splash");
        case panel_phase::running:
            break;
        }
        return QStringLiteral("running");
    });
    add(QStringLiteral("nested runs"), [this] { return QString::number(form_.runs()); });
    add(QStringLiteral("passes since ON"),
        [this] { return QString::number(form_.engine().passes_since_on()); });
    add(QStringLiteral("instrument time"), [this] {
        return QStringLiteral("%1 s").arg(form_.engine().frames_since_on() * 0.025, 0, 'f', 1);
    });
    add(QStringLiteral("speed"), [] {
        return frames_paused() ? QStringLiteral("paused (%1)").arg(speed_name(frame_speed()))
                               : speed_name(frame_speed());
    });
    const int run_rows = static_cast<int>(rows_.size());

    add(QStringLiteral("volts count"), count(raw_volts_adc));
    add(QStringLiteral("amps count"), count(raw_amps_adc));
    add(QStringLiteral("volts filtered"), count(volts_adc));
    add(QStringLiteral("amps filtered"), count(amps_adc));
    add(QStringLiteral("voltage"), [] { return tenths(volts_dv, "V"); });
    add(QStringLiteral("current"), [] { return tenths(current_da, "A"); });
    add(QStringLiteral("peak voltage"), [] { return tenths(peak_volts_dv, "V"); });
    add(QStringLiteral("peak charge"), [] { return tenths(peak_charge_da, "A"); });
    add(QStringLiteral("peak discharge"), [] { return tenths(peak_discharge_da, "A"); });
    const int measurement_rows = static_cast<int>(rows_.size());

    add(QStringLiteral("armed"), [] { return yes_no(volt_alarm_enabled == 1); });
    add(QStringLiteral("raised"), [] { return yes_no((volt_alarm & 1u) != 0); });
    add(QStringLiteral("acknowledged"), [] { return yes_no((alarm_ack & 1u) != 0); });
    add(QStringLiteral("lamp"), [this] {
        return form_.Shape1->fillColour() == COLOUR_LAMP_LIT ? QStringLiteral("lit")
                                                             : QStringLiteral("unlit");
    });
    add(QStringLiteral("window"), [] {
        return tenths(low_alarm_dv, "V") + QStringLiteral(" to ") + tenths(high_alarm_dv, "V");
    });
    const int alarm_rows = static_cast<int>(rows_.size());

    add(QStringLiteral("active_screen"),
        [] { return QString::fromLatin1(screen_name(active_screen)); });
    add(QStringLiteral("return_screen"),
        [] { return QString::fromLatin1(screen_name(return_screen)); });
    add(QStringLiteral("menu_cursor"), [] { return QString::number(menu_cursor); });
    add(QStringLiteral("edit_mode"), [] { return yes_no(edit_mode == 1); });
    add(QStringLiteral("pending_key"), [] { return key_name(pending_key); });
    add(QStringLiteral("idle_countdown"), [] {
        const QString left = active_screen == screen_main ? QStringLiteral("home already")
                             : idle_countdown == 0
                                 ? QStringLiteral("home next pass")
                                 : QStringLiteral("home in ") + seconds_after_steps(idle_countdown);
        return QStringLiteral("%1 (%2)").arg(idle_countdown).arg(left);
    });
    add(QStringLiteral("calibration unlocked"), [] { return yes_no(calibrate_enabled == 1); });
    add(QStringLiteral("threshold step"), [] { return tenths(key_step, "V"); });
    const int screen_rows = static_cast<int>(rows_.size());

    add_setting("contrast", number);
    add_setting("backlight_on", [](int64_t v) { return yes_no(v == 1); });
    add_setting("language", [](int64_t v) {
        return v == 0 ? QStringLiteral("English") : QStringLiteral("French");
    });
    add_setting("display_mode", [](int64_t v) {
        static const char* const modes[] = {"volts and amps", "volts", "amps"};
        return v >= 0 && v <= 2 ? QString::fromLatin1(modes[v]) : QString::number(v);
    });
    add_setting("auto_cycle", [](int64_t v) { return yes_no(v == 1); });
    add_setting("cycle_time_index", [](int64_t v) {
        return v >= 0 && v < 7 ? QStringLiteral("%1 (%2 s a page)").arg(v).arg(2 * cycle_times[v])
                               : QString::number(v);
    });
    add_setting("shunt_amps", [](int64_t v) { return QStringLiteral("%1 A").arg(v); });
    add_setting("bar_scale_amps", [](int64_t v) { return QStringLiteral("%1 A").arg(v); });
    add_setting("volt_alarm_enabled", [](int64_t v) { return yes_no(v == 1); });
    add_setting("low_alarm_dv", [](int64_t v) { return tenths(v, "V"); });
    add_setting("high_alarm_dv", [](int64_t v) { return tenths(v, "V"); });
    add_setting("volt_cal_percent", [](int64_t v) { return QStringLiteral("%1 %").arg(v); });
    add_setting("cal_zero_adc", number);
    add_setting("cal_charge_adc", number);
    add_setting("cal_discharge_adc", number);
    const int setting_rows = static_cast<int>(rows_.size());

    add(QStringLiteral("blink_phase"), [] { return QString::number(blink_phase); });
    add(QStringLiteral("blink_ticks"), [] { return QString::number(blink_ticks); });
    add(QStringLiteral("step_ticks"), [] { return QString::number(step_ticks); });
    add(QStringLiteral("cycle_steps"), [] { return QString::number(cycle_steps); });
    add(QStringLiteral("amps_page"),
        [] { return amps_page == 0 ? QStringLiteral("volts") : QStringLiteral("amps"); });
    add(QStringLiteral("next page change"), [] {
        if (display_mode == 0 || auto_cycle != 1 || cycle_time_index > 6) {
            return QStringLiteral("none (not alternating)");
        }
        const int left = std::max(1, cycle_times[cycle_time_index] - cycle_steps);
        return QStringLiteral("in ") + seconds_after_steps(left);
    });
    const int tick_rows = static_cast<int>(rows_.size());

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
        button->setText(speed_name(SPEEDS[i]));
        button->setCheckable(true);
        button->setToolTip(
            QStringLiteral("Passes and tick at %1 their speed").arg(speed_name(SPEEDS[i])));
        speeds_->addButton(button, i);
        controls->addWidget(button);
    }
    controls->addStretch();
    auto* session = new QHBoxLayout;
    auto* save = new QPushButton(QStringLiteral("Save session as scenario…"));
    save->setToolTip(QStringLiteral("Every input since the program started, for txm9-scenario"));
    session->addWidget(save);
    session->addStretch();
    connect(pause_, &QPushButton::toggled, this, [this](bool on) {
        form_.setFramesPaused(on);
        refresh_controls();
    });
    connect(step_, &QPushButton::clicked, this, [this] { step_one_frame(); });
    connect(speeds_, &QButtonGroup::idClicked, this, [this](int id) {
        form_.setSpeed(SPEEDS[id]);
        refresh_controls();
    });
    connect(save, &QPushButton::clicked, &form_, &TForm1::saveSession);

    // Two columns, narrow enough to stand beside the front panel on a common screen.
    auto* grid = new QGridLayout;
    grid->addWidget(group(QStringLiteral("Run"), 0, run_rows), 0, 0);
    grid->addWidget(group(QStringLiteral("Measurement"), run_rows, measurement_rows), 1, 0);
    grid->addWidget(group(QStringLiteral("Voltage alarm"), measurement_rows, alarm_rows), 2, 0);
    grid->addWidget(group(QStringLiteral("Tick"), setting_rows, tick_rows), 3, 0);
    grid->addWidget(group(QStringLiteral("Screen"), alarm_rows, screen_rows), 0, 1, 2, 1);
    grid->addWidget(group(QStringLiteral("Settings and calibration"), screen_rows, setting_rows), 2,
                    1, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addLayout(session);
    layout->addLayout(grid);
}

QWidget* InspectorWindow::group(const QString& title, int first_row, int end_row) {
    auto* box = new QGroupBox(title);
    auto* form = new QFormLayout(box);
    for (int i = first_row; i < end_row; ++i) {
        row& r = rows_[static_cast<std::size_t>(i)];
        r.shown = new QLabel;
        r.shown->setTextFormat(Qt::RichText);
        form->addRow(r.label + QLatin1Char(':'), r.shown);
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
        const QString value = r.value();
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
    pause_->setChecked(frames_paused());
    pause_->setText(frames_paused() ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    step_->setEnabled(frames_paused() && form_.runs() > 0);
    for (int i = 0; i < 4; ++i) {
        speeds_->button(i)->setChecked(SPEEDS[i] == frame_speed());
    }
}
