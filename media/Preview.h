#pragma once

namespace visemer {

class MediaPlayer;
class SteadyClock;
class Timeline;
class UiToolkit;
struct AudioPath;

// Plays the voice clip and steps the preview through the frames, each
// shown for its delay. Blocks until the last frame has had its time.
class Preview {
public:
    enum class Trigger { EnterKey, PlayButton };

    Preview(UiToolkit& ui, MediaPlayer& media, SteadyClock& clock, Timeline& timeline,
            const AudioPath& audio)
        : ui_(ui), media_(media), clock_(clock), timeline_(timeline), audio_(audio) {}

    void PlayPreview(Trigger trigger);

    // Milliseconds one delay step lasts; not positive when the rate is not.
    static float delayUnit(int fps, int timingAdjustment);
    // When each row is due after the clip starts: the rounded sum of the
    // delays before it. Delays below zero, and any delay at a rate that is
    // not positive, add nothing; no row lasts longer than an hour.
    static double stepMs(int delay, float unit);

private:
    UiToolkit& ui_;
    MediaPlayer& media_;
    SteadyClock& clock_;
    Timeline& timeline_;
    const AudioPath& audio_;
};

} // namespace visemer
