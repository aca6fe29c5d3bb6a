#include "bench/draft/DraftScore.h"

#include "voice/ModelPhones.h"

#include "exchange/Vocabulary.h"
#include "tool/Draft.h"

#include <algorithm>
#include <cmath>

namespace visemer::bench {
namespace {

constexpr double kFrameMs = 1000.0 / 30;
constexpr char kClosed = 'C';
constexpr char kLipsClosed = 'B';
// Recorded speech: a 10 ms frame 40 dB below the clip's loud frames, or
// within 6 dB of its quiet ones, is silent, counted where 100 ms or more
// of such frames run on; one within 20 dB of the loud frames is voiced.
constexpr float kSilentBelowLoudDb = 40;
constexpr float kSilentAboveQuietDb = 6;
constexpr float kVoicedBelowLoudDb = 20;
constexpr std::size_t kShortestSilence = 10;

std::vector<double> changesOf(const std::vector<TimedLabel>& stretches) {
    std::vector<double> changes;
    char shown = kClosed;
    for (const TimedLabel& stretch : stretches) {
        if (stretch.endMs <= stretch.startMs)
            continue;
        const char drawing = Vocabulary::drawingOf(stretch.label).value_or(kClosed);
        if (drawing != shown)
            changes.push_back(stretch.startMs);
        shown = drawing;
    }
    return changes;
}

float percentile(std::vector<float> values, double share) {
    const auto at = values.begin() +
                    static_cast<std::ptrdiff_t>(share * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Each 10 ms frame of the clip at 16 kHz-equivalent frames: its level.
std::vector<float> levelsOf(const Line& line) {
    std::vector<float> levels;
    const std::size_t frame = static_cast<std::size_t>(line.rate / 100);
    for (std::size_t at = 0; at + frame <= line.samples.size(); at += frame) {
        double energy = 0;
        for (std::size_t i = at; i < at + frame; ++i)
            energy += static_cast<double>(line.samples[i]) * line.samples[i];
        const double meanSquare = energy / static_cast<double>(frame) / (32768.0 * 32768.0);
        levels.push_back(meanSquare > 0 ? static_cast<float>(10 * std::log10(meanSquare))
                                        : -100.0F);
    }
    return levels;
}

} // namespace

char drawingAt(const std::vector<TimedLabel>& stretches, double ms) {
    auto it = std::upper_bound(stretches.begin(), stretches.end(), ms,
                               [](double t, const TimedLabel& s) { return t < s.startMs; });
    if (it == stretches.begin())
        return kClosed;
    --it;
    if (ms >= it->endMs && it + 1 == stretches.end())
        return kClosed;
    return Vocabulary::drawingOf(it->label).value_or(kClosed);
}

void DraftScore::addTimed(const Line& line, const std::vector<TimedLabel>& draft,
                          const std::vector<TimedLabel>& ceiling, double stepMs) {
    const auto reference = tool::labelledStretches(line.phones);
    const double lengthMs = line.lengthMs();
    // The reference's silences of a step or more, and where its voice is.
    std::vector<std::pair<double, double>> silences;
    double voiceFrom = lengthMs, voiceTo = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        const TimedLabel& stretch = reference[i];
        const double end = i + 1 == reference.size() ? lengthMs : stretch.endMs;
        if (Vocabulary::drawingOf(stretch.label).value_or(kClosed) != kClosed) {
            voiceFrom = std::min(voiceFrom, stretch.startMs);
            voiceTo = std::max(voiceTo, end);
        } else if (end - stretch.startMs >= stepMs) {
            silences.emplace_back(stretch.startMs, end);
        }
    }
    if (!reference.empty() && reference.front().startMs >= stepMs)
        silences.emplace_back(0, reference.front().startMs);
    const auto inSilence = [&](double at) {
        return std::any_of(silences.begin(), silences.end(),
                           [at](const auto& s) { return at >= s.first && at < s.second; });
    };
    for (double at = kFrameMs / 2; at < lengthMs; at += kFrameMs) {
        ++frames;
        const char expected = drawingAt(reference, at), got = drawingAt(draft, at);
        agreeing += expected == got;
        ceilingAgreeing += expected == drawingAt(ceiling, at);
        if (expected != got)
            ++confusions[std::string(1, expected) + ">" + got];
        if (expected == kClosed && inSilence(at)) {
            ++silentFrames;
            silentClosed += got == kClosed;
            ceilingSilentClosed += drawingAt(ceiling, at) == kClosed;
            if (got != kClosed) {
                ++(at < voiceFrom ? openInLeadIn : at >= voiceTo ? openInTail : openInPause);
                if (!openSilences.empty() && openSilences.back().second >= at - kFrameMs)
                    openSilences.back().second = at;
                else
                    openSilences.emplace_back(at, at);
            }
        }
    }
    const auto drafted = changesOf(draft), laidOut = changesOf(ceiling);
    const auto nearest = [](const std::vector<double>& others, double change) {
        double distance = 1e9;
        for (double other : others)
            distance = std::min(distance, std::abs(other - change));
        return distance;
    };
    for (double change : changesOf(reference)) {
        ++changes;
        const double distance = nearest(drafted, change);
        changesWithinFrame += distance <= kFrameMs;
        changesWithin50Ms += distance <= 50;
        ceilingChangesWithinFrame += nearest(laidOut, change) <= kFrameMs;
    }
    for (const TimedPhone& phone : line.phones) {
        const std::string_view heardAs = modelPhoneOf(phone.phone);
        if (heardAs != "B" && heardAs != "M" && heardAs != "P")
            continue;
        ++bilabials;
        bool closed = false;
        for (double at = phone.startMs - kFrameMs; at <= phone.endMs + kFrameMs && !closed;
             at += 5) {
            const char got = drawingAt(draft, at);
            closed = got == kLipsClosed || got == kClosed;
        }
        bilabialsClosed += closed;
    }
}

void DraftScore::addRecorded(const Line& line, const std::vector<TimedLabel>& draft) {
    const auto levels = levelsOf(line);
    if (levels.empty())
        return;
    const float quiet = percentile(levels, 0.05), loud = percentile(levels, 0.95);
    const float silence = std::max(loud - kSilentBelowLoudDb, quiet + kSilentAboveQuietDb);
    std::vector<bool> silent(levels.size(), false);
    for (std::size_t i = 0; i < levels.size();) {
        std::size_t end = i;
        while (end < levels.size() && levels[end] < silence)
            ++end;
        if (end - i >= kShortestSilence)
            std::fill(silent.begin() + static_cast<std::ptrdiff_t>(i),
                      silent.begin() + static_cast<std::ptrdiff_t>(end), true);
        i = end == i ? i + 1 : end;
    }
    for (double at = kFrameMs / 2; at < line.lengthMs(); at += kFrameMs) {
        const auto frame = std::min(levels.size() - 1, static_cast<std::size_t>(at / 10));
        const char got = drawingAt(draft, at);
        if (silent[frame]) {
            ++silentFrames;
            silentClosed += got == kClosed;
        } else if (levels[frame] >= loud - kVoicedBelowLoudDb) {
            ++voicedFrames;
            voicedOpen += got != kClosed && got != kLipsClosed;
        }
    }
}

} // namespace visemer::bench
