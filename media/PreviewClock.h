#pragma once

#include <cstddef>
#include <deque>
#include <optional>

namespace visemer {

class MediaPlayer;
class SteadyClock;

// Time on the clip's timeline while the preview walks the rows. It is the
// clip's own position while the clip plays, so the shapes keep their place
// on it. Once the clip has ended, however its player shows that (no
// position any more, or a position that stops moving), or where it never
// tells a position, the steady clock carries on from the clip's last known
// pace.
class PreviewClock {
public:
    // How long the walk waits for a clip to start before it goes on alone.
    static constexpr double kStartLimitMs = 250;
    // How far the clip's position may fall behind the steady clock, from
    // the last moment it was seen moving, before the steady clock is
    // trusted instead; found there twice at one position, the clip counts
    // as stopped.
    static constexpr double kLagLimitMs = 10;
    // A position comes late when the player's threads hold its query up,
    // never early: of the latest answer and the one before it, the one that
    // puts the clip further on is the fresher, and the one followed.
    static constexpr std::size_t kAnswersCompared = 2;

    PreviewClock(MediaPlayer& media, SteadyClock& steady);

    // How often the clip is looked at while it starts. Watched on the
    // steady clock, not slept: a millisecond's sleep from an idle processor
    // can end several late, and the first shape would show that far after
    // its sound.
    static constexpr double kStartLookMs = 0.25;

    // Waits until the clip's clock runs, so the first shape shows as its
    // sound starts; gives up after kStartLimitMs and counts time from then.
    // True when the clip was seen to start.
    bool waitForStart();
    double nowMs();

private:
    double elapsed() const;
    void observe(double position, double at);
    double steadyPosition(double at) const;

    MediaPlayer& media_;
    SteadyClock& steady_;
    double origin_;
    bool alone_ = false; // the clip has ended: the steady clock runs on
    std::optional<double> lastPosition_;
    // Steady time minus clip position: of the latest position when first
    // seen, and of the one before it, which is known to have been live
    // because the position moved on from it.
    double latestOffset_ = 0;
    std::optional<double> liveOffset_;
    std::deque<double> answerOffsets_; // steady time minus position, latest last
};

} // namespace visemer
