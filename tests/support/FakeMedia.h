#pragma once

#include "media/MediaPlayer.h"
#include "tests/support/FakeToolkit.h"

#include <set>
#include <string>
#include <vector>

namespace visemer::testing {

// A media player that plays the paths it is told are playable, and writes
// down what it was asked.
class FakeMediaPlayer final : public MediaPlayer {
public:
    void InitMedia() override { calls.push_back("init"); }
    bool LoadMedia(const std::string& path) override {
        calls.push_back("load " + path);
        loaded = !path.empty() && playable.count(path) > 0;
        loadedPath = loaded ? path : std::string();
        return loaded;
    }
    void PlayMedia(int window) override {
        calls.push_back("play " + std::to_string(window));
        if (loaded)
            ++plays;
    }
    void FreeMedia() override {
        calls.push_back("free");
        loaded = false;
        loadedPath.clear();
    }
    std::optional<double> playbackPositionMs() override { return std::nullopt; }

    std::set<std::string> playable;
    std::vector<std::string> calls;
    bool loaded = false;
    std::string loadedPath;
    int plays = 0;
};

// Time that passes only while the fake toolkit sleeps, plus whatever a
// test adds to stand for work done between sleeps.
class FakeSteadyClock final : public SteadyClock {
public:
    explicit FakeSteadyClock(const FakeToolkit& ui) : ui_(ui) {}
    double nowMs() override { return static_cast<double>(ui_.sleptMs()) + extraMs; }
    double extraMs = 0;

private:
    const FakeToolkit& ui_;
};

} // namespace visemer::testing
