#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace visemer::Loudness {

// Samples in one frame of 10 ms at the recognizer's rate.
inline constexpr std::size_t kFrameSamples = 160;

// The level of each whole 10 ms frame, in decibels of full scale.
std::vector<float> frameLevels(const std::int16_t* samples, std::size_t count);

// The level below which a frame counts as silence, learnt from the
// frames of a clip as they come: a quarter of the way from the quiet
// frames' level to the loud frames', and never within 6 dB of the quiet
// ones; digital silence is not counted among the quiet frames. While all
// the frames seen span less than 15 dB they are all one thing: all silence
// when even the loud ones are below -50 dB, else none.
class SilenceLevel {
public:
    void observe(const std::vector<float>& levels);
    float level() const;

private:
    float quiet_ = 0;
    float loud_ = -200;
};

// How many frames from the first are silent.
std::size_t silentFramesAtStart(const std::vector<float>& levels, float silence);

// A stretch of speech with its long silences taken out, and the frame of
// the whole that each of its frames came from.
struct Condensed {
    std::vector<std::int16_t> samples;
    std::vector<int> frameOf;
};
// Takes out every run of at least `longest` silent frames but `margin`
// frames at each of its ends; `levels` are the samples' frame levels.
Condensed withoutLongSilences(const std::int16_t* samples, std::size_t count,
                              const std::vector<float>& levels, float silence, std::size_t longest,
                              std::size_t margin);

} // namespace visemer::Loudness
