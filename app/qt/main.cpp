// The Linux program: Qt's application object, then the same main loop as on Windows.
#include "qt_frontend.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The installed desktop entry and icon; the window shows the icon built into the program.
    QGuiApplication::setDesktopFileName(QStringLiteral("tavrimo"));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/tavrimo.png").arg(size));
    }
    QApplication::setWindowIcon(icon);
    CreateMainWindow();
    RunMainLoop();
    ShutdownApp();
    return 0;
}
