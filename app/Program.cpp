#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/TimelineCommands.h"
#include "shapes/ShapeSet.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

Program::Program(UiToolkit& ui) : ui_(ui), loop_(ui), timeline_(ui) {
    registerTimelineCommands(loop_, timeline_);
    shutdown_.add(ShutdownSequence::Stage::Toolkit, [this] { ui_.shutdown(); });
}

bool Program::start() {
    ShapeSet::loadDefaults(ui_);
    if (!buildMainWindow(ui_))
        return false;
    timeline_.setCurrentRow(0);
    return true;
}

int Program::run() {
    if (start())
        loop_.run();
    shutdown();
    return 0;
}

} // namespace visemer
