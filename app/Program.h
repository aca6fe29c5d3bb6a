#pragma once

#include "app/AboutWindow.h"
#include "app/EventLoop.h"
#include "app/Shutdown.h"
#include "timeline/Timeline.h"

namespace visemer {

class UiToolkit;

// The whole editor over one toolkit: start-up, the event loop with every
// command in its tables, and the shutdown.
class Program {
public:
    explicit Program(UiToolkit& ui);

    // Loads the images and opens the main window; false if the window
    // could not be opened.
    bool start();
    // start(), the event loop until the quit flag, the shutdown. Gives the
    // process's exit status, which is always 0.
    int run();
    void shutdown() { shutdown_.run(); }

    EventLoop& loop() { return loop_; }
    Timeline& timeline() { return timeline_; }

private:
    UiToolkit& ui_;
    EventLoop loop_;
    Timeline timeline_;
    AboutWindow about_;
    ShutdownSequence shutdown_;
};

} // namespace visemer
