#pragma once

#include <functional>
#include <map>

namespace visemer {

class UiToolkit;

using Command = std::function<void()>;

// The program's one event loop: each pass waits for one event, runs the
// command registered for it, checks the About window's links and then the
// quit flag. Identifiers and control numbers without a command are ignored.
class EventLoop {
public:
    explicit EventLoop(UiToolkit& toolkit);

    void onMenu(int identifier, Command command);
    void onControl(int control, Command command);
    // Runs after any event whose last control event was a left click on it.
    void onLinkClick(int control, Command command);
    // The About window's close box; any other window's close box quits.
    void onAboutClosed(Command command);

    void quit() { quit_ = true; }
    bool quitting() const { return quit_; }

    void runPass();
    void run();

private:
    UiToolkit& toolkit_;
    std::map<int, Command> menuCommands_;
    std::map<int, Command> controlHandlers_;
    std::map<int, Command> linkCommands_;
    Command aboutClosed_;
    bool quit_ = false;
};

} // namespace visemer
