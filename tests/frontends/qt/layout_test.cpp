// The window and its controls: names, kinds, places, captions, stacking and tab order.
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>

#include "front_panel_fixture.h"
#include "qt/system_colours.h"

using namespace txm9;

namespace {

struct control_case {
    const char* name;
    const char* kind;
    const char* parent;
    QRect geometry;
    const char* caption; // nullptr: no caption
};

const control_case controls[] = {
    {"Image2", "PictureControl", "TForm1", {0, 0, 310, 310}, nullptr},
    {"Shape1", "CircleShape", "TForm1", {144, 17, 24, 24}, nullptr},
    {"Image3", "PictureControl", "TForm1", {66, 236, 47, 47}, nullptr},
    {"Image5", "PictureControl", "TForm1", {132, 249, 46, 43}, nullptr},
    {"Image6", "PictureControl", "TForm1", {199, 237, 42, 42}, nullptr},
    {"Label1", "QLabel", "TForm1", {344, 48, 29, 13}, "Amps:"},
    {"Label2", "QLabel", "TForm1", {344, 16, 26, 13}, "Volts:"},
    {"Label3", "QLabel", "TForm1", {384, 16, 6, 13}, "0"},
    {"Label4", "QLabel", "TForm1", {384, 48, 6, 13}, "0"},
    {"Button1", "QPushButton", "TForm1", {24, 328, 129, 49}, "ON"},
    {"Button2", "QPushButton", "TForm1", {176, 328, 137, 49}, "OFF"},
    {"StatusBar1", "QStatusBar", "TForm1", {0, 385, 621, 19}, nullptr},
    {"Panel1", "BevelPanel", "TForm1", {39, 94, 231, 133}, nullptr},
    {"Image1", "PictureControl", "Panel1", {1, 1, 229, 131}, nullptr},
    {"CheckBox2", "QCheckBox", "TForm1", {352, 96, 97, 17}, "Calibrate"},
    {"CheckBox3", "QCheckBox", "TForm1", {432, 96, 97, 17}, "KeyFast"},
    {"TrackBar1", "QSlider", "TForm1", {416, 8, 201, 45}, nullptr},
    {"TrackBar2", "QSlider", "TForm1", {416, 40, 201, 45}, nullptr},
    {"BitBtn1", "QPushButton", "TForm1", {0, 285, 57, 25}, "Clockwise"},
    {"Button3", "QPushButton", "TForm1", {236, 285, 75, 25}, "AntiClockwise"},
};

QString caption_of(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        return b->text();
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        return l->text();
    }
    return {};
}

using Layout = FrontPanel;

TEST_F(Layout, WindowIsAFixedCentredFrontPanel) {
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Halvernix Quorra TXM-9"));
    EXPECT_EQ(form->size(), QSize(621, 404));
    EXPECT_EQ(form->minimumSize(), QSize(621, 404)) << "not resizable";
    EXPECT_EQ(form->maximumSize(), QSize(621, 404)) << "not resizable";
    const Qt::WindowFlags flags = form->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    const QPoint screen_centre = form->screen()->availableGeometry().center();
    EXPECT_LE((form->geometry().center() - screen_centre).manhattanLength(), 2)
        << "window centre " << form->geometry().center().x() << "," << form->geometry().center().y()
        << ", screen centre " << screen_centre.x() << "," << screen_centre.y();
    EXPECT_EQ(form->font().family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(form->font().pointSize(), 8);
    EXPECT_EQ(form->objectName(), QStringLiteral("TForm1"));
}

TEST_F(Layout, EveryControlByNameKindPlaceAndCaption) {
    for (const control_case& c : controls) {
        SCOPED_TRACE(c.name);
        auto* w = form->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), c.kind);
        EXPECT_EQ(w->parentWidget()->objectName(), QString::fromLatin1(c.parent));
        EXPECT_EQ(w->pos(), c.geometry.topLeft());
        if (qobject_cast<QLabel*>(w) != nullptr) {
            // Labels take the width of their text in the font in force.
            EXPECT_EQ(w->height(), c.geometry.height());
            EXPECT_GE(w->width(), c.geometry.width());
            EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance(caption_of(w)));
        } else {
            EXPECT_EQ(w->size(), c.geometry.size());
        }
        if (c.caption != nullptr) {
            EXPECT_EQ(caption_of(w), QString::fromLatin1(c.caption));
        }
    }
}

TEST_F(Layout, LaterControlsLieOverEarlierOnes) {
    QStringList stacking;
    for (QObject* child : form->children()) {
        if (auto* w = qobject_cast<QWidget*>(child); w != nullptr && !w->isWindow()) {
            stacking << w->objectName();
        }
    }
    const QStringList expected = {"Image2",    "Shape1",     "Image3",  "Image5",    "Image6",
                                  "Label1",    "Label2",     "Label3",  "Label4",    "Button1",
                                  "Button2",   "StatusBar1", "Panel1",  "CheckBox2", "CheckBox3",
                                  "TrackBar1", "TrackBar2",  "BitBtn1", "Button3"};
    EXPECT_EQ(stacking, expected) << "stacking: " << stacking.join(' ').toStdString();
}

TEST_F(Layout, TabOrder) {
    QStringList order;
    QWidget* w = form->Button1;
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            order << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != form->Button1 && order.size() < 30);
    const QStringList expected = {"Button1",   "Button2",   "CheckBox2", "CheckBox3",
                                  "TrackBar1", "TrackBar2", "BitBtn1",   "Button3"};
    EXPECT_EQ(order, expected) << "tab order: " << order.join(' ').toStdString();
}

TEST_F(Layout, ControlSettingsAtStart) {
    for (QSlider* slider : {form->TrackBar1, form->TrackBar2}) {
        SCOPED_TRACE(slider->objectName().toStdString());
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->minimum(), 0);
        EXPECT_EQ(slider->maximum(), 4096);
        EXPECT_EQ(slider->singleStep(), 1);
        EXPECT_EQ(slider->pageStep(), 2);
        EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
    }
    EXPECT_EQ(form->TrackBar1->value(), 0);
    EXPECT_EQ(form->TrackBar2->value(), 2048);
    EXPECT_FALSE(form->CheckBox2->isChecked());
    EXPECT_FALSE(form->CheckBox3->isChecked());
    EXPECT_EQ(form->Shape1->fillColour(), COLOUR_LAMP_LIT) << "the lamp is pure red at start";
    EXPECT_EQ(form->Panel1->colour(), COLOUR_SCROLL_BAR);
    EXPECT_TRUE(form->StatusBar1->currentMessage().isEmpty());
    EXPECT_FALSE(form->StatusBar1->isSizeGripEnabled());
    EXPECT_TRUE(form->Timer1->isActive()) << "the tick runs from window creation on";
    EXPECT_EQ(form->Timer1->interval(), 100);
    EXPECT_FALSE(form->Timer1->isSingleShot());
}

TEST_F(Layout, FaceShowsThroughTheClickAreas) {
    EXPECT_EQ(form->Image2->picture().size(), QSize(310, 310));
    for (PictureControl* area : {form->Image3, form->Image5, form->Image6}) {
        SCOPED_TRACE(area->objectName().toStdString());
        EXPECT_TRUE(area->picture().isNull());
        const QImage seen = form->grab(area->geometry()).toImage();
        const QImage face = form->Image2->picture().copy(area->geometry());
        EXPECT_EQ(seen.convertToFormat(QImage::Format_RGB32),
                  face.convertToFormat(QImage::Format_RGB32));
    }
}

} // namespace
