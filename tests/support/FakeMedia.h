#pragma once

#include "media/MediaPlayer.h"
#include "tests/support/FakeToolkit.h"

#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace visemer::testing {

// A media player that plays the paths it is told are playable, and writes
// down what it was asked. Given a clock, it plays a clip as a real player
// does: no position until startLatencyMs after PlayMedia, then one that
// follows the clock at the clip's pace, and at durationMs the end, shown
// the way one of the real formats shows it. Without a clock it never tells a position.
class FakeMediaPlayer final : public MediaPlayer {
public:
    enum class Ending {
        PositionGone,   // no position any more (WAV, Ogg, WebM)
        FrozenBelowEnd, // stuck just short of the duration (MP3)
        StuckAtEnd,     // stays at the duration itself
    };

    void InitMedia() override { calls.push_back("init"); }
    bool LoadMedia(const std::string& path) override {
        calls.push_back("load " + path);
        loaded = !path.empty() && playable.count(path) > 0;
        loadedPath = loaded ? path : std::string();
        return loaded;
    }
    void PlayMedia(int window) override {
        calls.push_back("play " + std::to_string(window));
        if (loaded) {
            ++plays;
            playedAt = clock ? clock->nowMs() : 0;
        }
    }
    void FreeMedia() override {
        calls.push_back("free");
        loaded = false;
        loadedPath.clear();
    }
    std::optional<double> playbackPositionMs() override {
        if (whileAsked)
            whileAsked();
        if (!clock || !loaded || plays == 0)
            return std::nullopt;
        double position = (clock->nowMs() - playedAt - startLatencyMs) * pace;
        if (position < 0)
            return std::nullopt;
        if (++queries == lateQuery)
            position -= lateByMs;
        if (position < durationMs)
            return position;
        switch (ending) {
        case Ending::FrozenBelowEnd:
            return durationMs - 0.04;
        case Ending::StuckAtEnd:
            return durationMs;
        case Ending::PositionGone:
            break;
        }
        return std::nullopt;
    }

    SteadyClock* clock = nullptr;
    double startLatencyMs = 0;
    double durationMs = std::numeric_limits<double>::infinity();
    // Clip milliseconds to a millisecond of the clock: a sound card's own
    // clock is never quite the processor's.
    double pace = 1;
    // The query with this number answers for a moment lateByMs before the
    // one it is asked at, as one held up by the player's threads does.
    int lateQuery = 0;
    double lateByMs = 0;
    int queries = 0;
    // Runs as each query starts, before the position is read: a test moves
    // its clock on here to stand for a query held up by the player's lock.
    std::function<void()> whileAsked;
    Ending ending = Ending::PositionGone;
    double playedAt = 0;

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
    double nowMs() override { return static_cast<double>(ui_.sleptMs()) + extraMs + waitedMs; }
    void waitMs(double milliseconds) override {
        if (milliseconds > 0)
            waitedMs += milliseconds;
    }
    double extraMs = 0;
    double waitedMs = 0; // the fractions waited on this clock itself

private:
    const FakeToolkit& ui_;
};

} // namespace visemer::testing
