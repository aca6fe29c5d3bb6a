#include "media/PreviewClock.h"

#include "media/MediaPlayer.h"

#include <chrono>

namespace visemer {

double SystemSteadyClock::nowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

PreviewClock::PreviewClock(MediaPlayer& media, SteadyClock& steady)
    : media_(media), steady_(steady), startedAt_(steady.nowMs()) {}

double PreviewClock::nowMs() {
    const double elapsed = steady_.nowMs() - startedAt_;
    if (const auto position = media_.playbackPositionMs()) {
        lastPosition_ = *position;
        lastPositionAt_ = elapsed;
        return *position;
    }
    return lastPosition_ + (elapsed - lastPositionAt_);
}

} // namespace visemer
