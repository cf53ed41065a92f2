// The Linux program: Qt's application object, then the same main loop as on Windows.
#include "qt_frontend.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CreateMainWindow();
    RunMainLoop();
    ShutdownApp();
    return 0;
}
