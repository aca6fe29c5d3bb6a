#include "app/EventLoop.h"
#include "app/Shutdown.h"
#include "app/ids/Controls.h"
#include "toolkit/qt/QtToolkit.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    visemer::QtToolkit toolkit;
    visemer::EventLoop loop(toolkit);
    visemer::ShutdownSequence shutdown;
    shutdown.add(visemer::ShutdownSequence::Stage::Toolkit, [&toolkit] { toolkit.shutdown(); });

    using namespace visemer;
    if (toolkit.createWindow(Window::Main, 0, 0, 530, 260,
                             WindowFlag::CaptionBar | WindowFlag::SystemMenu |
                                 WindowFlag::MinimizeBox | WindowFlag::CentreOnScreen,
                             "Visemer")) {
        toolkit.useControlList(Window::Main);
        loop.run();
    }
    shutdown.run();
    return 0;
}
