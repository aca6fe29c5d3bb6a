#pragma once

namespace visemer {

class MediaPlayer;
class PreviewClock;
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

private:
    void waitUntil(PreviewClock& clock, double due);

    UiToolkit& ui_;
    MediaPlayer& media_;
    SteadyClock& clock_;
    Timeline& timeline_;
    const AudioPath& audio_;
};

} // namespace visemer
