#include "app/Program.h"
#include "media/gst/GstMediaPlayer.h"
#include "toolkit/qt/QtToolkit.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/visemer-%1.png").arg(size), QSize(size, size));
    // Every window of the editor, the About window too, shows this icon.
    QApplication::setWindowIcon(icon);

    visemer::QtToolkit toolkit;
    visemer::GstMediaPlayer media;
    visemer::SystemSteadyClock clock;
    visemer::Program program(toolkit, media, clock);
    return program.run();
}
