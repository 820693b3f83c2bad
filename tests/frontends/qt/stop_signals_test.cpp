// The window stopped by a signal, as a logout (SIGHUP), Ctrl+C (SIGINT) or a service manager
// (SIGTERM) stops it: a recording in progress is finished as a playable GIF, as closing the
// window finishes it, and no partial file is left.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gif_lib.h>

#include <csignal>

#include "front_panel_fixture.h"
#include "qt/display_capture.h"
#include "qt/gif_recorder.h"
#include "qt/stop_signals.h"

class StopSignalsTest : public FrontPanel {};

TEST_F(StopSignalsTest, ARecordingIsFinishedAsAPlayableGif) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("run.gif"));
        form = std::make_unique<TForm1>();
        form->show();
        {
            StopSignals stops;
            QObject::connect(&stops, &StopSignals::stopRequested, form.get(),
                             [this] { closeWhenOff(*form); });
            ASSERT_TRUE(form->findChild<DisplayCapture*>()->recorder().start(path));
            RunDriver driver(form.get());
            driver.between(120, [signal] { ::raise(signal); });
            driver.click_on(100000);
            EXPECT_EQ(stops.received(), signal);
            EXPECT_EQ(form->runs(), 0) << "switched off by the signal";
            form.reset(); // as the program ends
        }
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"run.gif"});
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.toLocal8Bit().constData(), &error);
        ASSERT_NE(gif, nullptr);
        EXPECT_EQ(DGifSlurp(gif), GIF_OK);
        EXPECT_GT(gif->ImageCount, 1) << "the splash and the passes before the signal";
        DGifCloseFile(gif, &error);
    }
}
