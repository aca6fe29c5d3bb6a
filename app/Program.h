#pragma once

#include "app/AboutWindow.h"
#include "app/EventLoop.h"
#include "app/Shutdown.h"
#include "files/ProjectFile.h"
#include "files/TextFiles.h"
#include "media/AudioCommands.h"
#include "media/Preview.h"
#include "project/ProjectCommands.h"
#include "timeline/Timeline.h"

namespace visemer {

class MediaPlayer;
class SteadyClock;
class UiToolkit;

// The whole editor over one toolkit and one media player: start-up, the
// event loop with every command in its tables, and the shutdown.
class Program {
public:
    Program(UiToolkit& ui, MediaPlayer& media, SteadyClock& clock);

    // Loads the images, readies the media service and opens the main
    // window; false if the window could not be opened.
    bool start();
    // start(), the event loop until the quit flag, the shutdown. Gives the
    // process's exit status, which is always 0.
    int run();
    void shutdown() { shutdown_.run(); }

    EventLoop& loop() { return loop_; }
    Timeline& timeline() { return timeline_; }
    AudioPath& audio() { return audio_; }
    TextFiles& files() { return files_; }
    ProjectCommands& projectCommands() { return projectCommands_; }

private:
    UiToolkit& ui_;
    MediaPlayer& media_;
    EventLoop loop_;
    Timeline timeline_;
    AboutWindow about_;
    AudioPath audio_;
    TextFiles files_;
    ProjectFile project_;
    Preview preview_;
    ProjectCommands projectCommands_;
    ShutdownSequence shutdown_;
};

} // namespace visemer
