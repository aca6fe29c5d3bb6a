#pragma once

namespace visemer {

class MediaPlayer;
class SteadyClock;

// Time since the clip was started, taken from the clip's own position
// while it plays so the shapes keep their place on its timeline; once the
// clip has ended, or where it reports no position, the steady clock goes on
// from the last position known.
class PreviewClock {
public:
    PreviewClock(MediaPlayer& media, SteadyClock& steady);
    double nowMs();

private:
    MediaPlayer& media_;
    SteadyClock& steady_;
    double startedAt_;
    double lastPosition_ = 0;
    double lastPositionAt_ = 0;
};

} // namespace visemer
