#include "app/Shutdown.h"

namespace visemer {

void ShutdownSequence::add(Stage stage, std::function<void()> release) {
    steps_[stage].push_back(std::move(release));
}

void ShutdownSequence::run() {
    auto steps = std::move(steps_);
    steps_.clear();
    for (auto& [stage, releases] : steps)
        for (auto& release : releases)
            release();
}

} // namespace visemer
