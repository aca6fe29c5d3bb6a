#include "app/EventLoop.h"

#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "toolkit/UiToolkit.h"

namespace visemer {
namespace {

void runIfPresent(const std::map<int, Command>& table, int key) {
    const auto found = table.find(key);
    if (found != table.end() && found->second)
        found->second();
}

} // namespace

EventLoop::EventLoop(UiToolkit& toolkit) : toolkit_(toolkit) {
    onMenu(MenuId::Exit, [this] { quit(); });
}

void EventLoop::onMenu(int identifier, Command command) {
    menuCommands_[identifier] = std::move(command);
}

void EventLoop::onControl(int control, Command command) {
    controlHandlers_[control] = std::move(command);
}

void EventLoop::onLinkClick(int control, Command command) {
    linkCommands_[control] = std::move(command);
}

void EventLoop::onAboutClosed(Command command) {
    aboutClosed_ = std::move(command);
}

void EventLoop::runPass() {
    switch (toolkit_.waitEvent()) {
    case EventKind::Menu:
        runIfPresent(menuCommands_, toolkit_.lastMenuId());
        break;
    case EventKind::Control:
        runIfPresent(controlHandlers_, toolkit_.lastControl());
        break;
    case EventKind::Close:
        if (toolkit_.lastEventWindow() == Window::About) {
            if (aboutClosed_)
                aboutClosed_();
        } else {
            quit();
        }
        break;
    default:
        break;
    }
    // The toolkit resets the type at every wait, so a link fires only on
    // the pass of the click itself.
    if (toolkit_.lastEventType() == ClickType::Left)
        runIfPresent(linkCommands_, toolkit_.lastControl());
}

void EventLoop::run() {
    while (!quit_)
        runPass();
}

} // namespace visemer
