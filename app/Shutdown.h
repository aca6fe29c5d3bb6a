#pragma once

#include <functional>
#include <map>
#include <vector>

namespace visemer {

// Releases what the program holds once the event loop has ended, always in
// the same order whatever order the parts registered in.
class ShutdownSequence {
public:
    enum class Stage { ProjectFile, AudioClips, Toolkit, OpenFiles };

    void add(Stage stage, std::function<void()> release);
    // Runs every release once; a second call does nothing.
    void run();

private:
    std::map<Stage, std::vector<std::function<void()>>> steps_;
};

} // namespace visemer
