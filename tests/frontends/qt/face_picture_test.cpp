// The face picture: built in, decoded without surprises, and each feature under its
// control.
#include <QBuffer>
#include <QImageWriter>

#include <stdexcept>

#include "front_panel_fixture.h"
#include "qt/face_picture.h"

using namespace txm9;

namespace {

decoded_picture decode(const QByteArray& bytes) {
    return decode_jpeg(reinterpret_cast<const uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size()));
}

TEST(FacePicture, BuiltInFaceDecodesTo310By310) {
    const QByteArray bytes = face_picture_bytes();
    ASSERT_FALSE(bytes.isEmpty()) << "the face is not built into the program";
    const decoded_picture face = decode(bytes);
    EXPECT_TRUE(face.error.isEmpty()) << face.error.toStdString();
    EXPECT_EQ(face.image.size(), QSize(310, 310));
}

TEST(FacePicture, DamagedBytesGiveAnErrorNotAnExit) {
    const QByteArray good = face_picture_bytes();
    QByteArray flipped = good;
    for (qsizetype i = good.size() / 3; i < good.size() / 3 + 64; ++i) {
        flipped[i] = static_cast<char>(0xFF); // a run of marker bytes inside the scan
    }
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("this is not a picture at all")},
        {"start marker only", good.left(2)},
        {"header cut short", good.left(100)},
        {"cut in the middle", good.left(good.size() / 2)},
        {"end marker missing", good.left(good.size() - 2)},
        {"scan overwritten", flipped},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const decoded_picture result = decode(c.bytes);
        EXPECT_FALSE(result.error.isEmpty())
            << "decoded to " << result.image.width() << " x " << result.image.height();
        EXPECT_TRUE(result.image.isNull());
        EXPECT_THROW(load_face_picture(c.bytes), std::runtime_error);
    }
}

TEST(FacePicture, ErrorMessageSaysWhatCannotBeShown) {
    try {
        load_face_picture(face_picture_bytes().left(500));
        FAIL() << "a truncated face was accepted";
    } catch (const std::runtime_error& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).startsWith("The instrument's face picture"))
            << error.what();
    }
}

TEST(FacePicture, PictureOfAnotherSizeIsRefused) {
    QImage small(20, 10, QImage::Format_RGB32);
    small.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "jpg").write(small)) {
        GTEST_SKIP() << "no JPEG writer in this Qt";
    }
    ASSERT_TRUE(decode(bytes).error.isEmpty());
    EXPECT_THROW(load_face_picture(bytes), std::runtime_error);
}

// The face's features, sampled under the controls of the running window.
using FaceFeatures = FrontPanel;

QRgb at(const QImage& face, QPoint p) {
    return face.pixel(p);
}
bool near_white(QRgb c) {
    return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240;
}
bool dark(QRgb c) {
    return qGray(c) < 60;
}
bool grey(QRgb c, int lowest) {
    return qGray(c) >= lowest && std::abs(qRed(c) - qGreen(c)) < 16 &&
           std::abs(qGreen(c) - qBlue(c)) < 16;
}

TEST_F(FaceFeatures, EachFeatureLiesUnderItsControl) {
    const QImage face = form->Image2->picture();
    const QPoint lamp = form->Shape1->geometry().center();
    const QRect display = form->Panel1->geometry();
    const QRect left_key = form->Image3->geometry();
    const QRect knob = form->Image5->geometry();
    const QRect right_key = form->Image6->geometry();

    EXPECT_TRUE(near_white(at(face, {2, 2}))) << "white ground outside the disc";
    EXPECT_TRUE(near_white(at(face, {307, 307})));
    EXPECT_TRUE(dark(at(face, {125, 262}))) << "black disc between key and knob";
    EXPECT_TRUE(dark(at(face, {155, 8}))) << "black disc above the lamp";

    const QRgb red = at(face, lamp);
    EXPECT_GT(qRed(red), 150);
    EXPECT_LT(qGreen(red), 80);
    EXPECT_LT(qBlue(red), 80);
    EXPECT_TRUE(dark(at(face, lamp + QPoint(0, 20)))) << "the lamp ends under Shape1";

    for (QPoint p : {display.center(), display.topLeft() + QPoint(3, 3),
                     display.bottomRight() - QPoint(3, 3)}) {
        EXPECT_TRUE(grey(at(face, p), 170)) << "light-grey window at " << p.x() << "," << p.y();
    }
    EXPECT_TRUE(dark(at(face, display.topLeft() - QPoint(2, 2)))) << "dark surround";
    EXPECT_TRUE(dark(at(face, display.bottomRight() + QPoint(5, 0))));

    for (QRect key : {left_key, right_key}) {
        EXPECT_TRUE(grey(at(face, QPoint(key.left() + 7, key.center().y())), 150))
            << "key cap at " << key.x() << "," << key.y();
        EXPECT_TRUE(dark(at(face, key.center() + QPoint(0, 8)))) << "the triangle";
        EXPECT_TRUE(dark(at(face, QPoint(key.center().x(), key.top() - 4))))
            << "nothing of the key above its control";
    }
    EXPECT_TRUE(grey(at(face, knob.center()), 120)) << "the knob's grey cap";
    EXPECT_TRUE(dark(at(face, QPoint(knob.center().x(), knob.top() - 4))));

    int lettering = 0;
    for (int y = 48; y < 88; ++y) {
        for (int x = 60; x < 250; ++x) {
            lettering += qGray(face.pixel(x, y)) > 200 ? 1 : 0;
        }
    }
    EXPECT_GT(lettering, 300) << "white lettering between the lamp and the display";
}

} // namespace
