#pragma once

#include <optional>
#include <string>

namespace visemer {

// The voice clip: at most one at a time, loaded at its start or playing.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    // Prepares the media service; called once at start-up.
    virtual void InitMedia() = 0;
    // Releases the clip held so far, then opens and prepares the file at a
    // local path. False for an empty path and for anything it cannot play.
    virtual bool LoadMedia(const std::string& path) = 0;
    // Rewinds the clip and starts it; returns at once while it plays on.
    virtual void PlayMedia(int window) = 0;
    // Stops and releases the clip.
    virtual void FreeMedia() = 0;
    // Where the playing clip is, in milliseconds from its start; nothing
    // when no clip plays, once it has played to its end, or when the
    // service cannot tell.
    virtual std::optional<double> playbackPositionMs() = 0;
};

// Milliseconds on a clock that only moves forward.
class SteadyClock {
public:
    virtual ~SteadyClock() = default;
    virtual double nowMs() = 0;
    // Waits a short while, to a fraction of a millisecond: the last part
    // of a wait that whole milliseconds would round.
    virtual void waitMs(double milliseconds) = 0;
};

class SystemSteadyClock final : public SteadyClock {
public:
    double nowMs() override;
    void waitMs(double milliseconds) override;
};

} // namespace visemer
