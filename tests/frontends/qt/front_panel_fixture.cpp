#include "front_panel_fixture.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <memory>

#include "firmware/lcd/framebuffer.h"
#include "firmware/monitor/state.h"
#include "support/firmware_walk.h"

using namespace txm9;

void FrontPanel::SetUp() {
    program_start_state();
    form = std::make_unique<TForm1>();
    form->setFramePacing(false);
    form->show();
    ASSERT_EQ(Form1, form.get());
}

void FrontPanel::TearDown() {
    form.reset();
}

RunDriver::RunDriver(TForm1* form) : form_(form) {
    connection_ = QObject::connect(form, &TForm1::displayPainted, form, [this] {
        ++frames_;
        if (on_painted) {
            on_painted(frames_);
        }
        if (const auto it = actions_.find(frames_); it != actions_.end()) {
            QTimer::singleShot(0, form_, it->second);
        }
        if (frames_ >= limit_) {
            if (frames_ == limit_) {
                ADD_FAILURE() << "the run was still going after " << limit_ << " frames";
            }
            power_off_request = 1;
        }
    });
}

RunDriver::~RunDriver() {
    QObject::disconnect(connection_);
}

void RunDriver::between(int frame, std::function<void()> action) {
    actions_[frame] = std::move(action);
}

void RunDriver::click_on(int limit) {
    limit_ = limit;
    click(form_->Button1);
}

void close_message_box_when_shown(seen_message_box& seen) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    auto polls_left = std::make_shared<int>(500); // give up after 5 s
    QObject::connect(poll, &QTimer::timeout, poll, [poll, polls_left, &seen] {
        if (--*polls_left == 0) {
            poll->stop();
            poll->deleteLater();
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen.shown = true;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        box->done(QMessageBox::Ok);
        poll->stop();
        poll->deleteLater();
    });
    poll->start();
}

void click(QWidget* control) {
    QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier, control->rect().center());
}
