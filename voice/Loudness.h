#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace visemer::Loudness {

// Samples in one frame of 10 ms at the recognizer's rate.
inline constexpr std::size_t kFrameSamples = 160;
// The level of a frame of digital silence, rather than minus infinity.
inline constexpr float kDigitalSilenceDb = -100;

// The level of each whole 10 ms frame, in decibels of full scale.
std::vector<float> frameLevels(const std::int16_t* samples, std::size_t count);

// The level below which a frame counts as silence, learnt from the
// frames of a clip as they come: a quarter of the way from the quiet
// frames' level to the loud frames', and never within 6 dB of the quiet
// ones; digital silence is not counted among the quiet frames. While all
// the frames seen span less than 15 dB they are all one thing: all silence
// when even the loud ones are below -50 dB, else none. A clip with a tenth
// of its frames digital silence and its quiet frames above -50 dB has no
// hiss: its quiet frames are voice, and the level is learnt from the
// digital silence instead.
class SilenceLevel {
public:
    void observe(const std::vector<float>& levels);
    float level() const;
    // A third of the way up: the quiet between phrases, a synthesizer's or
    // a room's, wavers several decibels above its quietest frames, and at
    // the lower level its louder frames break one pause into short
    // silences. Quiet voice beside a stop's closure can stay below it too,
    // so a pause found only at this level must be longer.
    float pauseLevel() const;

private:
    float levelAt(float shareOfSpan) const;

    float quiet_ = 0;
    float loud_ = -200;
    std::size_t frames_ = 0;
    std::size_t digitalFrames_ = 0;
};

// How many frames from the first are silent.
std::size_t silentFramesAtStart(const std::vector<float>& levels, float silence);

// A stretch of speech with its long silences taken out, and the frame of
// the whole that each of its frames came from.
struct Condensed {
    std::vector<std::int16_t> samples;
    std::vector<int> frameOf;
};
// A run of frames quieter than `level` and at least `longest` frames long
// is a pause; with `noDigitalSilence`, only a run without a frame of
// digital silence in it.
struct PauseRule {
    float level = 0;
    std::size_t longest = 0;
    bool noDigitalSilence = false;
};
// Takes out every pause that any of the rules finds but `margin` frames at
// each of its ends; `levels` are the samples' frame levels.
Condensed withoutLongSilences(const std::int16_t* samples, std::size_t count,
                              const std::vector<float>& levels, const std::vector<PauseRule>& rules,
                              std::size_t margin);

} // namespace visemer::Loudness
