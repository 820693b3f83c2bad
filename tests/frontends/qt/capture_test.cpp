// The display copied, saved and recorded: the pictures are the display as the window shows
// it, a file is written whole or not at all, and a recording keeps real time.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <gif_lib.h>

#include <functional>
#include <memory>
#include <vector>

#include "firmware/lcd/framebuffer.h"
#include "front_panel_fixture.h"
#include "qt/display_capture.h"
#include "qt/gif_recorder.h"
#include "qt/gif_writer.h"
#include "qt/render_lcd.h"
#include "support/file_size_limit.h"

using namespace txm9;

namespace {

class Capture : public FrontPanel {
protected:
    void SetUp() override {
        FrontPanel::SetUp();
        ASSERT_TRUE(folder.isValid());
        capture = form->findChild<DisplayCapture*>();
        ASSERT_NE(capture, nullptr);
        lcd_put_pixel(5, 3, PIXEL_SET);
        render_lcd();
    }
    QString file(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QStringList files() const { return QDir(folder.path()).entryList(QDir::Files); }

    QTemporaryDir folder;
    DisplayCapture* capture = nullptr;
};

// A decoded GIF: its pictures composed as a viewer shows them, and their delays.
struct played_gif {
    int width = 0;
    int height = 0;
    std::vector<int> delays_cs;
    std::vector<uint8_t> last; // palette indices of the final picture
};

played_gif play(const QString& path) {
    played_gif out;
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &error);
    if (gif == nullptr || DGifSlurp(gif) != GIF_OK) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return out;
    }
    out.width = gif->SWidth;
    out.height = gif->SHeight;
    out.last.assign(static_cast<std::size_t>(out.width) * out.height, 0xFF);
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock control{};
        DGifSavedExtensionToGCB(gif, i, &control);
        out.delays_cs.push_back(control.DelayTime);
        const GifImageDesc& d = gif->SavedImages[i].ImageDesc;
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                out.last[static_cast<std::size_t>(d.Top + y) * out.width + d.Left + x] =
                    gif->SavedImages[i].RasterBits[y * d.Width + x];
            }
        }
    }
    DGifCloseFile(gif, &error);
    return out;
}

TEST_F(Capture, CopyPutsTheDisplayAsShownOnTheClipboard) {
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), QSize(228, 128));
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32),
              form->Image1->picture().copy(0, 0, 228, 128));
}

TEST_F(Capture, SavesAPngAtEachScale) {
    const QRgb unlit = shown_lcd_colours().unlit;
    for (int scale : {1, 2, 4}) {
        SCOPED_TRACE("scale " + std::to_string(scale));
        const QString path = file(("display" + std::to_string(scale) + ".png").c_str());
        ASSERT_TRUE(capture->save_to(path, scale));
        const QImage saved(path);
        ASSERT_EQ(saved.size(), QSize(114 * scale, 64 * scale));
        EXPECT_EQ(saved.pixel(5 * scale + scale - 1, 3 * scale), qRgb(0, 0, 0)) << "pixel 5, 3";
        EXPECT_EQ(saved.pixel(6 * scale, 3 * scale), unlit) << "pixel 6, 3";
        EXPECT_EQ(saved.pixel(5 * scale, 3 * scale - 1), unlit) << "pixel 5, 2";
    }
}

TEST_F(Capture, AFailedWriteSaysWhyAndLeavesNothing) {
    ASSERT_TRUE(QDir(folder.path()).mkdir("taken")); // a folder where the file would go
    const struct {
        const char* name;
        std::function<bool()> write;
        const char* reason;
        bool full_disk;
    } cases[] = {
        {"a display saved over a folder", [&] { return capture->save_to(file("taken"), 2); },
         "it is a folder", false},
        {"a display saved to a full disk", [&] { return capture->save_to(file("full.png"), 4); },
         "File too large", true},
        {"a session saved to a full disk",
         [&] { return form->saveSessionTo(file("full.scenario")); }, "File too large", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        seen_message_box seen;
        close_message_box_when_shown(seen);
        bool written = true;
        if (c.full_disk) {
            const file_size_limit full_disk(64);
            written = c.write();
        } else {
            written = c.write();
        }
        EXPECT_FALSE(written);
        EXPECT_TRUE(seen.shown);
        EXPECT_EQ(seen.icon, QMessageBox::Critical);
        EXPECT_TRUE(seen.text.contains(c.reason)) << seen.text.toStdString();
        EXPECT_TRUE(files().isEmpty()) << files().join(' ').toStdString();
    }
    // A recording that cannot be written says why and leaves nothing either.
    const file_size_limit full_disk(64);
    ASSERT_TRUE(capture->recorder().start(file("full.gif"))); // the GIF's header fits
    EXPECT_FALSE(capture->recorder().stop());
    EXPECT_TRUE(capture->recorder().error().contains("File too large"))
        << capture->recorder().error().toStdString();
    EXPECT_TRUE(files().isEmpty()) << files().join(' ').toStdString();
}

TEST(GifWriter, KeepsRealTimeAndStoresOnlyChanges) {
    QTemporaryDir folder;
    const std::string path = folder.filePath("timing.gif").toStdString();
    gif_writer gif;
    ASSERT_TRUE(gif.open(path, 4, 2, LCD_COLOURS));
    const uint32_t L = LCD_COLOURS.lit, U = LCD_COLOURS.unlit;
    const uint32_t a[8] = {L, U, U, U, U, U, U, U};
    const uint32_t b[8] = {U, U, U, U, U, U, U, L};
    // 25 ms frames alternating for a second, then one picture repeated for 537 ms.
    uint64_t t = 0;
    for (; t < 1000; t += 25) {
        ASSERT_TRUE(gif.add((t / 25) % 2 == 0 ? a : b, t));
    }
    for (; t < 1537; t += 25) {
        ASSERT_TRUE(gif.add(a, t));
    }
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path + ".part")));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path))) << "not named while recording";
    ASSERT_TRUE(gif.finish(1537));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path + ".part")));

    const played_gif played = play(QString::fromStdString(path));
    EXPECT_EQ(played.width, 4);
    EXPECT_EQ(played.height, 2);
    ASSERT_EQ(played.delays_cs.size(), 41u) << "40 alternating pictures, then one standing";
    int total = 0;
    for (std::size_t i = 0; i < played.delays_cs.size(); ++i) {
        const int d = played.delays_cs[i];
        if (i < 40) {
            EXPECT_TRUE(d == 2 || d == 3) << "picture " << i << ": " << d << " hundredths";
        }
        total += d;
    }
    EXPECT_EQ(played.delays_cs.back(), 54) << "the picture standing from 1 s to 1.537 s";
    EXPECT_EQ(total, 154) << "1.537 s to the hundredth";
    EXPECT_EQ(played.last, (std::vector<uint8_t>{0, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(GifWriter, AFailureLeavesNoFile) {
    QTemporaryDir folder;
    gif_writer gif;
    EXPECT_FALSE(gif.open(folder.filePath("missing/x.gif").toStdString(), 4, 2, LCD_COLOURS));
    EXPECT_FALSE(gif.error().empty());
    const std::string path = folder.filePath("abandoned.gif").toStdString();
    ASSERT_TRUE(gif.open(path, 4, 2, LCD_COLOURS));
    gif.abandon();
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(Capture, RecordingTheRunningDisplay) {
    GifRecorder& recorder = capture->recorder();
    const QString path = file("run.gif");
    ASSERT_TRUE(recorder.start(path));
    EXPECT_TRUE(form->StatusBar1->currentMessage().contains("run.gif"))
        << "the recording shows while it runs";
    for (int i = 0; i < 10; ++i) {
        QTest::qWait(30);
        lcd_put_pixel(static_cast<uint8_t>(20 + i), 20, PIXEL_SET);
        render_lcd();
        render_lcd(); // the same frame again
    }
    QTest::qWait(30);
    ASSERT_TRUE(recorder.stop());
    EXPECT_TRUE(form->StatusBar1->currentMessage().isEmpty());
    const played_gif played = play(path);
    EXPECT_EQ(played.width, 228);
    EXPECT_EQ(played.height, 128);
    EXPECT_EQ(played.delays_cs.size(), 11u) << "the first frame and ten changes";
}

TEST_F(Capture, ClosingTheWindowFinishesTheRecording) {
    const QString path = file("closed.gif");
    ASSERT_TRUE(capture->recorder().start(path));
    form.reset();
    EXPECT_EQ(play(path).delays_cs.size(), 1u);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"closed.gif"});
}

} // namespace
