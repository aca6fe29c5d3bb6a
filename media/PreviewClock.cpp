#include "media/PreviewClock.h"

#include "media/MediaPlayer.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace visemer {

double SystemSteadyClock::nowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

// A sleep this short often ends milliseconds late, once the processor has
// gone idle and must be woken; watching the clock for a couple of
// milliseconds costs less than that.
void SystemSteadyClock::waitMs(double milliseconds) {
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                           std::chrono::duration<double, std::milli>(milliseconds));
    while (std::chrono::steady_clock::now() < until) {
    }
}

PreviewClock::PreviewClock(MediaPlayer& media, SteadyClock& steady)
    : media_(media), steady_(steady), origin_(steady.nowMs()) {}

double PreviewClock::elapsed() const {
    return steady_.nowMs() - origin_;
}

bool PreviewClock::waitForStart() {
    for (;;) {
        const auto position = media_.playbackPositionMs();
        const double now = elapsed();
        if (position) {
            observe(*position, now);
            return true;
        }
        if (now >= kStartLimitMs) {
            origin_ += now;
            return false;
        }
        steady_.waitMs(kStartLookMs);
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
    if (alone_)
        return steadyPosition(elapsed());
    // The position is paired with the moment its query returned: a query
    // held up by the player's own threads answers for that moment, not
    // for when it was asked.
    const auto position = media_.playbackPositionMs();
    const double now = elapsed();
    if (!position) {
        // Gone after it had been there: the clip has played to its end.
        alone_ = lastPosition_.has_value();
        return steadyPosition(now);
    }
    const bool moved = !lastPosition_ || *position != *lastPosition_;
    observe(*position, now);
    const double expected = steadyPosition(now);
    if (*position < expected - kLagLimitMs) {
        // Short of where it should be. Seen again without moving, it is an
        // ended clip whose player keeps its last position, or one that
        // stalled; a position that still moves may only have been late
        // in coming, and is looked at again next time.
        if (!moved)
            alone_ = true;
        return expected;
    }
    answerOffsets_.push_back(now - *position);
    if (answerOffsets_.size() > kAnswersCompared)
        answerOffsets_.pop_front();
    return now - *std::min_element(answerOffsets_.begin(), answerOffsets_.end());
}

} // namespace visemer
