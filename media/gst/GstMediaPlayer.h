#pragma once

#include "media/MediaPlayer.h"

#include <chrono>
#include <future>

typedef struct _GstElement GstElement;

namespace visemer {

// The voice clip over GStreamer's playbin, sound only. Loading waits for
// the clip to be ready to play, up to a bounded time, so a file that cannot
// be played fails at once instead of later, silently.
class GstMediaPlayer final : public MediaPlayer {
public:
    GstMediaPlayer() = default;
    ~GstMediaPlayer() override;
    GstMediaPlayer(const GstMediaPlayer&) = delete;
    GstMediaPlayer& operator=(const GstMediaPlayer&) = delete;

    // Starts the media service on a thread of its own, off the start-up
    // path; the first load waits for it.
    void InitMedia() override;
    bool LoadMedia(const std::string& path) override;
    void PlayMedia(int window) override;
    void FreeMedia() override;
    std::optional<double> playbackPositionMs() override;

    bool hasClip() const { return pipeline_ != nullptr; }

private:
    bool ready();
    bool reachedEnd();

    std::shared_future<bool> initialised_;
    GstElement* pipeline_ = nullptr;
    std::int64_t durationNs_ = -1;
    bool ended_ = false;
};

} // namespace visemer
