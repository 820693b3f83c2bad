// A fresh front-panel window per test, and a driver that runs the instrument with actions
// placed between given frames.
#pragma once

#include <QMessageBox>
#include <QString>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "qt/pcmain.h"

using namespace txm9;

class FrontPanel : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<TForm1> form;
};

// Runs the instrument from a click on ON. Frames are numbered from 1 as they are painted:
// 80 splash frames, then one per main-loop pass (and so on through nested runs).
class RunDriver {
public:
    explicit RunDriver(TForm1* form);
    ~RunDriver();

    // `action` runs in the event delivery that follows painted frame n, between frames.
    void between(int frame, std::function<void()> action);
    // Called while frame n is being painted (inside the pass); for recording only.
    std::function<void(int frame)> on_painted;
    // Clicks ON and returns once the run has ended. A run still going after `limit` frames
    // is a failure, and is switched off.
    void click_on(int limit = 3000);

    int frames() const { return frames_; }

private:
    TForm1* form_;
    std::map<int, std::function<void()>> actions_;
    int frames_ = 0;
    int limit_ = 0;
    QMetaObject::Connection connection_;
};

// What an error message box showed.
struct seen_message_box {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Watches for a modal message box, records it and closes it with OK.
void close_message_box_when_shown(seen_message_box& seen);

// Clicks a control in its middle with the left button.
void click(QWidget* control);
