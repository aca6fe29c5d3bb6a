// Telling silence from voice by the clip's own loudness, and taking long
// silences out of what the alignment hears.

#include "voice/Loudness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace visemer {
namespace {

using Loudness::kFrameSamples;

// Frames of a tone at an amplitude, or of silence (amplitude 0).
void append(std::vector<std::int16_t>& samples, int frames, double amplitude) {
    for (std::size_t i = 0; i < static_cast<std::size_t>(frames) * kFrameSamples; ++i)
        samples.push_back(
            static_cast<std::int16_t>(amplitude * std::sin(0.2 * static_cast<double>(i))));
}

TEST(Loudness, TheSilenceLevelLiesBetweenTheQuietAndTheLoudFrames) {
    std::vector<std::int16_t> clip;
    append(clip, 50, 30);    // room noise, about -60 dB
    append(clip, 100, 8000); // voice, about -15 dB
    append(clip, 50, 30);
    Loudness::SilenceLevel silence;
    const auto levels = Loudness::frameLevels(clip.data(), clip.size());
    ASSERT_EQ(levels.size(), 200u);
    silence.observe(levels);
    EXPECT_GT(silence.level(), levels[0] + 5);
    EXPECT_LT(silence.level(), levels[100] - 20);
    EXPECT_EQ(Loudness::silentFramesAtStart(levels, silence.level()), 50u);
}

TEST(Loudness, DigitalSilenceAroundARecordingLeavesItsRoomNoiseSilent) {
    // Padded in an editor: zeros, then the recording with its own hiss.
    std::vector<std::int16_t> clip;
    append(clip, 300, 0);
    append(clip, 50, 30);
    append(clip, 100, 8000);
    append(clip, 50, 30);
    append(clip, 300, 0);
    Loudness::SilenceLevel silence;
    const auto levels = Loudness::frameLevels(clip.data(), clip.size());
    silence.observe(levels);
    const std::vector<float> recording(levels.begin() + 300, levels.end());
    EXPECT_EQ(Loudness::silentFramesAtStart(levels, silence.level()), 350u);
    EXPECT_EQ(Loudness::silentFramesAtStart(recording, silence.level()), 50u);
}

// A synthesizer voices no noise: its silences are digital, and its
// quietest other frames are voice.
TEST(Loudness, ANoiselessClipsQuietVoiceIsNotSilence) {
    std::vector<std::int16_t> clip;
    append(clip, 20, 0);
    append(clip, 10, 400); // about -41 dB
    append(clip, 60, 8000);
    append(clip, 10, 400);
    append(clip, 20, 0);
    Loudness::SilenceLevel silence;
    const auto levels = Loudness::frameLevels(clip.data(), clip.size());
    silence.observe(levels);
    EXPECT_EQ(Loudness::silentFramesAtStart(levels, silence.level()), 20u);
    EXPECT_EQ(Loudness::silentFramesAtStart(levels, silence.pauseLevel()), 20u);
}

TEST(Loudness, ClipsOfOneKindAreAllSilenceOrAllVoice) {
    std::vector<std::int16_t> quiet, loud;
    append(quiet, 100, 10);
    append(loud, 100, 8000);
    Loudness::SilenceLevel digital, spoken;
    const auto quietLevels = Loudness::frameLevels(quiet.data(), quiet.size());
    const auto loudLevels = Loudness::frameLevels(loud.data(), loud.size());
    digital.observe(quietLevels);
    spoken.observe(loudLevels);
    EXPECT_EQ(Loudness::silentFramesAtStart(quietLevels, digital.level()), 100u);
    EXPECT_EQ(Loudness::silentFramesAtStart(loudLevels, spoken.level()), 0u);
    // What was learnt from the voice still holds for silence after it.
    spoken.observe(quietLevels);
    EXPECT_EQ(Loudness::silentFramesAtStart(quietLevels, spoken.level()), 100u);
}

TEST(Loudness, LongSilencesAreTakenOutButTheirMarginsAndShortOnesStay) {
    std::vector<std::int16_t> clip;
    append(clip, 30, 8000);
    append(clip, 100, 0); // a pause of a second
    append(clip, 30, 8000);
    append(clip, 8, 0); // the closure of a stop
    append(clip, 30, 8000);
    clip.push_back(5); // a few samples short of a frame at the end
    const auto condensed = Loudness::withoutLongSilences(
        clip.data(), clip.size(), Loudness::frameLevels(clip.data(), clip.size()), {{-40, 15}}, 3);
    ASSERT_EQ(condensed.frameOf.size(), 30u + 3 + 3 + 30 + 8 + 30);
    EXPECT_EQ(condensed.samples.size(), condensed.frameOf.size() * kFrameSamples + 1);
    EXPECT_EQ(condensed.frameOf[32], 32);
    EXPECT_EQ(condensed.frameOf[33], 127) << "the pause's last three frames follow its first three";
    EXPECT_EQ(condensed.frameOf.back(), 197);
}

// A recording's pause is never digital silence; a synthesizer's closure
// often is, with quiet voice beside it.
TEST(Loudness, ARuleForRecordedPausesPassesOverRunsWithDigitalSilence) {
    std::vector<std::int16_t> clip;
    append(clip, 30, 8000);
    append(clip, 12, 3); // a short pause in a room's hiss
    append(clip, 30, 8000);
    append(clip, 8, 40); // quiet voice, then a closure
    append(clip, 4, 0);
    append(clip, 30, 8000);
    const auto condensed = Loudness::withoutLongSilences(
        clip.data(), clip.size(), Loudness::frameLevels(clip.data(), clip.size()),
        {{-40, 15}, {-40, 10, true}}, 3);
    ASSERT_EQ(condensed.frameOf.size(), 30u + 3 + 3 + 30 + 12 + 30);
    EXPECT_EQ(condensed.frameOf[33], 39) << "the pause's last three frames follow its first three";
    EXPECT_EQ(condensed.frameOf[66], 72) << "the quiet voice and the closure stay";
}

} // namespace
} // namespace visemer
