// The least a Qt Widgets program does to show a window: the yardstick for
// the editor's start-up.
#include "bench/FirstPaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    FirstPaint watch;
    application.installEventFilter(&watch);
    QWidget window;
    window.resize(530, 260);
    window.show();
    return application.exec();
}
