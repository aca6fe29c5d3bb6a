#include "voice/Loudness.h"

#include <algorithm>
#include <cmath>

namespace visemer::Loudness {
namespace {

constexpr float kSpanDb = 15;
constexpr float kQuietestSpeechDb = -50;
constexpr float kAboveQuietDb = 6;
constexpr float kShareOfSpan = 0.25F;
constexpr float kPauseShareOfSpan = 0.35F;
// A clip with at least one frame in this many of digital silence.
constexpr std::size_t kDigitalShareOfNoiseless = 10;

float percentile(std::vector<float> levels, double share) {
    const auto at = levels.begin() +
                    static_cast<std::ptrdiff_t>(share * static_cast<double>(levels.size() - 1));
    std::nth_element(levels.begin(), at, levels.end());
    return *at;
}

} // namespace

std::vector<float> frameLevels(const std::int16_t* samples, std::size_t count) {
    std::vector<float> levels;
    levels.reserve(count / kFrameSamples);
    for (std::size_t at = 0; at + kFrameSamples <= count; at += kFrameSamples) {
        double energy = 0;
        for (std::size_t i = at; i < at + kFrameSamples; ++i)
            energy += static_cast<double>(samples[i]) * samples[i];
        const double meanSquare = energy / kFrameSamples / (32768.0 * 32768.0);
        levels.push_back(meanSquare > 0 ? std::max(kDigitalSilenceDb,
                                                   static_cast<float>(10 * std::log10(meanSquare)))
                                        : kDigitalSilenceDb);
    }
    return levels;
}

void SilenceLevel::observe(const std::vector<float>& levels) {
    if (levels.empty())
        return;
    // Digital silence, where a clip was padded or cut in an editor, says
    // nothing of the recording's own quiet; taken for it, it would leave
    // the room's hiss and a synthesizer's pauses above the silence level.
    std::vector<float> recorded;
    for (const float level : levels)
        if (level > kDigitalSilenceDb + kAboveQuietDb)
            recorded.push_back(level);
    quiet_ = std::min(quiet_, recorded.empty() ? kDigitalSilenceDb : percentile(recorded, 0.05));
    loud_ = std::max(loud_, percentile(levels, 0.95));
    frames_ += levels.size();
    digitalFrames_ += levels.size() - recorded.size();
}

float SilenceLevel::level() const {
    return levelAt(kShareOfSpan);
}

float SilenceLevel::pauseLevel() const {
    return levelAt(kPauseShareOfSpan);
}

float SilenceLevel::levelAt(float shareOfSpan) const {
    // A clip whose silences are digital and whose quietest other frames
    // are as loud as speech has no hiss of its own, a synthesizer's above
    // all: those frames are its quiet voice, and only digital silence is
    // silent.
    const bool noiseless =
        digitalFrames_ * kDigitalShareOfNoiseless >= frames_ && quiet_ > kQuietestSpeechDb;
    const float quiet = noiseless ? kDigitalSilenceDb : quiet_;
    if (loud_ - quiet < kSpanDb)
        return loud_ < kQuietestSpeechDb ? loud_ + 1 : quiet - 1;
    return std::max(quiet + kAboveQuietDb, quiet + (loud_ - quiet) * shareOfSpan);
}

std::size_t silentFramesAtStart(const std::vector<float>& levels, float silence) {
    const auto loud = std::find_if(levels.begin(), levels.end(),
                                   [silence](float level) { return level >= silence; });
    return static_cast<std::size_t>(loud - levels.begin());
}

Condensed withoutLongSilences(const std::int16_t* samples, std::size_t count,
                              const std::vector<float>& levels, const std::vector<PauseRule>& rules,
                              std::size_t margin) {
    std::vector<bool> kept(levels.size(), true);
    for (const PauseRule& rule : rules) {
        for (std::size_t at = 0; at < levels.size();) {
            std::size_t end = at;
            bool digital = false;
            for (; end < levels.size() && levels[end] < rule.level; ++end)
                digital = digital || levels[end] <= kDigitalSilenceDb;
            if (end - at >= rule.longest && end - at > 2 * margin &&
                !(digital && rule.noDigitalSilence))
                std::fill(kept.begin() + static_cast<std::ptrdiff_t>(at + margin),
                          kept.begin() + static_cast<std::ptrdiff_t>(end - margin), false);
            at = end == at ? at + 1 : end;
        }
    }
    Condensed condensed;
    for (std::size_t frame = 0; frame < levels.size(); ++frame) {
        if (!kept[frame])
            continue;
        const std::int16_t* from = samples + frame * kFrameSamples;
        condensed.samples.insert(condensed.samples.end(), from, from + kFrameSamples);
        condensed.frameOf.push_back(static_cast<int>(frame));
    }
    // The samples after the last whole frame go with it.
    condensed.samples.insert(condensed.samples.end(), samples + levels.size() * kFrameSamples,
                             samples + count);
    return condensed;
}

} // namespace visemer::Loudness
