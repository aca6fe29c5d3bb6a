#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/TimelineCommands.h"
#include "app/ids/Controls.h"
#include "app/ids/MenuIds.h"
#include "shapes/ShapeCommands.h"
#include "shapes/ShapeSet.h"
#include "toolkit/UiToolkit.h"

namespace visemer {

Program::Program(UiToolkit& ui) : ui_(ui), loop_(ui), timeline_(ui), about_(ui) {
    registerTimelineCommands(loop_, timeline_);
    loop_.onMenu(MenuId::LoadImages, [this] { LoadImages(ui_); });
    loop_.onMenu(MenuId::DefaultImages, [this] { DefaultImages(ui_); });
    loop_.onMenu(MenuId::Help, [this] { OpenHelp(ui_); });
    loop_.onMenu(MenuId::About, [this] { about_.open(); });
    loop_.onAboutClosed([this] { about_.close(); });
    loop_.onLinkClick(Control::MakerLink, [this] { about_.followMakerLink(); });
    loop_.onLinkClick(Control::ScriptAuthorLink, [this] { about_.followScriptAuthorLink(); });
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
