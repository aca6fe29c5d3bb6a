// The editor as it starts for a user, ended at its first paint.
#include "app/EditorMain.h"
#include "bench/FirstPaint.h"

#include <QApplication>

int main(int argc, char** argv) {
    FirstPaint watch;
    return visemer::runEditor(argc, argv, [&watch](QApplication& application) {
        application.installEventFilter(&watch);
    });
}
