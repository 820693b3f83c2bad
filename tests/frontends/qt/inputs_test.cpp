// Keys, knob, sliders and the tick as the window delivers them to the firmware.
#include <QElapsedTimer>
#include <QTest>

#include "firmware/monitor/keys.h"
#include "firmware/monitor/state.h"
#include "front_panel_fixture.h"

using namespace txm9;

namespace {

using Inputs = FrontPanel;

TEST_F(Inputs, EachKeyControlStoresItsCode) {
    const struct {
        QWidget* control;
        uint8_t code;
    } keys[] = {{form->Image5, KEY_SELECT},
                {form->BitBtn1, KEY_CW},
                {form->Button3, KEY_CCW},
                {form->Image3, KEY_LEFT},
                {form->Image6, KEY_RIGHT}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.control->objectName().toStdString());
        pending_key = 0;
        idle_countdown = 0;
        click(key.control);
        EXPECT_EQ(pending_key, key.code);
        EXPECT_EQ(idle_countdown, 30);
    }
}

TEST_F(Inputs, TwoClicksBetweenPassesKeepTheFirst) {
    click(form->Image3);
    idle_countdown = 4;
    click(form->Image5);
    EXPECT_EQ(pending_key, KEY_LEFT);
    EXPECT_EQ(idle_countdown, 30);
}

TEST_F(Inputs, PressOutsideThenReleaseInsideIsNoClick) {
    QTest::mousePress(form->Image5, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(form->Image5, Qt::LeftButton, Qt::NoModifier, QPoint(500, 5));
    EXPECT_EQ(pending_key, 0) << "released off the knob";
}

TEST_F(Inputs, SlidersFeedTheConverterCountsAndLabels) {
    EXPECT_EQ(raw_amps_adc, 0u) << "the start position reaches no handler";
    EXPECT_EQ(form->TrackBar2->value(), 2048);
    EXPECT_EQ(form->Label4->text(), QStringLiteral("0"));

    form->TrackBar1->setValue(4096);
    EXPECT_EQ(raw_volts_adc, 4096u);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("4096"));
    EXPECT_GE(form->Label3->width(), form->Label3->fontMetrics().horizontalAdvance("4096"))
        << "the whole count shows";

    form->TrackBar2->setFocus();
    QTest::keyClick(form->TrackBar2, Qt::Key_Right);
    EXPECT_EQ(raw_amps_adc, 2049u) << "an arrow key moves one count";
    QTest::keyClick(form->TrackBar2, Qt::Key_PageUp);
    EXPECT_EQ(raw_amps_adc, 2051u) << "a page key moves two counts";
    EXPECT_EQ(form->Label4->text(), QStringLiteral("2051"));

    form->TrackBar1->setValue(0);
    EXPECT_EQ(raw_volts_adc, 0u);
    EXPECT_EQ(form->Label3->text(), QStringLiteral("0"));
}

TEST_F(Inputs, Timer1TimerIsTheInstrumentsTick) {
    blink_ticks = 10;
    step_ticks = 19;
    idle_countdown = 7;
    form->Timer1Timer();
    EXPECT_EQ(blink_phase, 1);
    EXPECT_EQ(blink_ticks, 0);
    EXPECT_EQ(step_ticks, 0);
    EXPECT_EQ(idle_countdown, 6);
}

TEST_F(Inputs, TickRunsWhileTheInstrumentIsOff) {
    blink_ticks = 0;
    step_ticks = 0;
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(QTest::qWaitFor([] { return step_ticks >= 3; }, 3000))
        << "only " << int{step_ticks} << " ticks in 3 s";
    EXPECT_LE(step_ticks, clock.elapsed() / 100 + 1) << "no more than one tick per 100 ms";
    EXPECT_EQ(blink_ticks, step_ticks);
}

} // namespace
