#include "app/EditorMain.h"

#include "app/Program.h"
#include "files/AtomicFile.h"
#include "media/gst/GstMediaPlayer.h"
#include "toolkit/qt/QtToolkit.h"

#include <QApplication>
#include <QIcon>

namespace visemer {

int runEditor(int argc, char** argv, const std::function<void(QApplication&)>& beforeStart) {
    keepWritesFromEndingTheProgram();
    // The editor takes no arguments; Qt sees only the program's name, so
    // none of its own options (-reverse, -style, ...) changes the window.
    char fallbackName[] = "visemer";
    char* programName[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
    int programNameCount = 1;
    QApplication application(programNameCount, programName);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/visemer-%1.png").arg(size), QSize(size, size));
    // Every window of the editor, the About window too, shows this icon.
    QApplication::setWindowIcon(icon);
    if (beforeStart)
        beforeStart(application);

    QtToolkit toolkit;
    GstMediaPlayer media;
    SystemSteadyClock clock;
    Program program(toolkit, media, clock);
    return program.run();
}

} // namespace visemer
