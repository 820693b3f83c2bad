// The inspector: a tool window beside the front panel that shows the firmware's state live
// (measurement, alarm, screens, settings against their factory values, the tick, the run)
// and holds the time controls and the session recording. It refreshes a few times a second
// and only while it is shown, so that closed it costs nothing.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "engine/inspector_model.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QPushButton;
class TForm1;

class InspectorWindow : public QWidget {
    Q_OBJECT

public:
    explicit InspectorWindow(TForm1& form);

    // Shows the window beside the front panel (or raises it) and refreshes it at once.
    void open();
    // The text of the value shown under `label`, for tests.
    QString shownValue(const QString& label) const;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct row {
        QString label;
        std::function<txm9::inspector_value()> value;
        QLabel* shown = nullptr;
        QString last;
        qint64 changed_at = -1000000; // when the value last changed, for the flash
        bool flashing = false;
    };

    void build();
    QWidget* group(const txm9::inspector_section& section);
    void refresh();
    void refresh_controls();

    TForm1& form_;
    QTimer refresh_timer_;
    QElapsedTimer clock_;
    std::vector<row> rows_;
    QPushButton* pause_ = nullptr;
    QPushButton* step_ = nullptr;
    QButtonGroup* speeds_ = nullptr;
};
