// Program start: the front-panel window and the toolkit's event loop. The instrument is off
// until its ON button is clicked.
#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <exception>

#include "pcmain.h"

using namespace txm9;

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TXM-9 Simulator"));
    // The desktop matches the window to its menu entry, and so to its name and icon, by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(TXM9_APP_ID));
    QIcon icon;
    for (const QFileInfo& size : QDir(QStringLiteral(":/icon")).entryInfoList()) {
        icon.addFile(size.filePath());
    }
    QApplication::setWindowIcon(icon);
    try {
        TForm1 window;
        window.show();
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QApplication::applicationDisplayName(),
                              QString::fromUtf8(error.what()));
        return 1;
    }
}
