#include "media/PreviewClock.h"

#include "media/MediaPlayer.h"
#include "toolkit/UiToolkit.h"

#include <algorithm>
#include <chrono>

namespace visemer {

double SystemSteadyClock::nowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

PreviewClock::PreviewClock(MediaPlayer& media, SteadyClock& steady)
    : media_(media), steady_(steady), origin_(steady.nowMs()) {}

double PreviewClock::elapsed() const {
    return steady_.nowMs() - origin_;
}

bool PreviewClock::waitForStart(UiToolkit& ui) {
    for (;;) {
        const double now = elapsed();
        if (const auto position = media_.playbackPositionMs()) {
            observe(*position, now);
            return true;
        }
        if (now >= kStartLimitMs) {
            origin_ += now;
            return false;
        }
        ui.sleepMs(1);
    }
}

void PreviewClock::observe(double position, double at) {
    if (lastPosition_ && position == *lastPosition_)
        return;
    if (lastPosition_)
        liveOffset_ = latestOffset_;
    lastPosition_ = position;
    latestOffset_ = at - position;
}

// Where the clip would be now had it gone on at the pace it was last seen
// keeping.
double PreviewClock::steadyPosition(double at) const {
    return at - liveOffset_.value_or(lastPosition_ ? latestOffset_ : 0.0);
}

double PreviewClock::nowMs() {
    const double now = elapsed();
    if (alone_)
        return steadyPosition(now);
    const auto position = media_.playbackPositionMs();
    if (!position) {
        // Gone after it had been there: the clip has played to its end.
        alone_ = lastPosition_.has_value();
        return steadyPosition(now);
    }
    observe(*position, now);
    const double expected = steadyPosition(now);
    if (*position < expected - kLagLimitMs) {
        // Stuck short of where it should be: an ended clip whose player
        // keeps its last position, or one that stalled.
        alone_ = true;
        return expected;
    }
    return *position;
}

} // namespace visemer
