#include "voice/PassageSearch.h"

#include "voice/DialogueGrammar.h"
#include "voice/Loudness.h"
#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <algorithm>
#include <cstdlib>

namespace visemer {
namespace {

constexpr std::size_t kSamplesPerFrame = VoiceDecoder::kSampleRate / 100; // 10 ms
constexpr double kMsPerFrame = 10;
// A frame's window is 25.625 ms long and starts where the frame does, so the
// sound a frame hears is centred 12.8 ms after the frame's start. A change
// between two frames lies halfway between their centres: this much later
// than the later frame's start.
constexpr double kWindowMs = 25.625;
constexpr double kChangeAfterFrameStartMs = kWindowMs / 2 - kMsPerFrame / 2;
// The voice is searched in passages of at most this long. The phone search
// cuts each at the quietest frame of its last third; an alignment goes on
// from the end of the last word it keeps.
constexpr std::size_t kLongestPassage = 30 * VoiceDecoder::kSampleRate;
constexpr std::size_t kShortestPassage = 20 * VoiceDecoder::kSampleRate;
// A passage of dialogue holds at most this many words: half a minute at
// twice the pace of quick speech.
constexpr std::size_t kWordsPerPassage = 200;
// Words that end this close to a passage's cut are aligned again with the
// next passage.
constexpr std::size_t kHeldBack = 2 * VoiceDecoder::kSampleRate;
// How many of a passage's first words the alignment may leave out, to catch
// up with a voice that does not say them.
constexpr std::size_t kMostSkipped = 50;
// An alignment's last passage is at most about this long.
constexpr std::size_t kLastPassage = 6 * VoiceDecoder::kSampleRate;
// How many cuts a passage of dialogue is tried with.
constexpr int kAttempts = 4;
// Silence at the start of a passage this many frames long or longer is
// closed before the alignment, up to this many frames before the voice
// comes in: a soft onset may not reach the silence level at once.
constexpr std::size_t kSilenceSkipped = 10;
constexpr std::size_t kOnsetFrames = 5;
// Silences within a passage this long or longer are pauses; all but a
// margin at each end is taken out of what the alignment hears.
constexpr std::size_t kShortestPauseFrames = 15;
constexpr std::size_t kPauseMarginFrames = 3;
// A recording's quiet is never digital silence, and the closures of its
// stops are shorter than this: quiet with no digital silence in it is a
// pause from this long. A synthesizer that voices no noise makes its
// closures of digital silence, sometimes beside quiet voice below the
// silence level, so such a run must be as long as a pause above.
constexpr std::size_t kShortestRecordedPauseFrames = 10;
// Digital silence this long is a pause: a synthesizer's closures are
// shorter, even spoken slowly.
constexpr std::size_t kShortestDigitalPauseFrames = 12;
// Quiet that stays below the pause level, a little above the silence
// level, this long or longer is a pause too.
constexpr std::size_t kShortestWaveringPauseFrames = 20;
// Each phone of the search lasts at least this many frames.
constexpr int kShortestPhoneFrames = 3;
// A leap over words the voice does say holds a phone of the next words
// over them; longer than this, it is not believed. A voice at its usual
// pace holds a vowel up to about as long (espeak-ng at 175 words a minute
// up to 320 ms, Festival's HTS voice up to 325 ms; spoken slowly, longer),
// so only the two words after a leap are looked at.
constexpr int kLongestPhoneFrames = 30;
constexpr std::size_t kWordsLookedAtAfterALeap = 2;
// A passage with less voice than this left is all pause.
constexpr std::size_t kShortestVoiceFrames = 20;
// Quiet this long at a phone's edge beside silence is silence too, but for
// a frame where the voice fades in or out.
constexpr int kQuietEdgeFrames = 3;
constexpr int kEdgeMarginFrames = 1;

std::string clockTime(std::uint64_t sample) {
    const std::uint64_t seconds = sample / VoiceDecoder::kSampleRate;
    const std::string secondsText = std::to_string(seconds % 60);
    return std::to_string(seconds / 60) + ":" + (secondsText.size() < 2 ? "0" : "") + secondsText;
}

// Silence that follows silence lengthens it.
void addSegment(std::vector<PhoneSegment>& segments, PhoneSegment segment) {
    if (segment.phone == "SIL" && !segments.empty() && segments.back().phone == "SIL")
        segments.back().end = segment.end;
    else
        segments.push_back(std::move(segment));
}

// The searches stretch a phone over the quiet beside a pause, before the
// clip's first phone and after its last: the alignment above all, which
// has to end each word somewhere. That quiet goes back to the silence.
std::vector<PhoneSegment> closeQuietEdges(const std::vector<PhoneSegment>& segments,
                                          const std::vector<float>& levels, float silence,
                                          float fading, bool startsClip, bool endsClip) {
    const auto below = [&](int frame, float level) {
        return frame >= 0 && static_cast<std::size_t>(frame) < levels.size() &&
               levels[static_cast<std::size_t>(frame)] < level;
    };
    const auto quiet = [&](int frame) { return below(frame, silence); };
    std::vector<PhoneSegment> closed;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const PhoneSegment& segment = segments[i];
        if (segment.phone == "SIL") {
            addSegment(closed, segment);
            continue;
        }
        const bool silenceBefore = i == 0 ? startsClip : segments[i - 1].phone == "SIL";
        const bool silenceAfter =
            i + 1 == segments.size() ? endsClip : segments[i + 1].phone == "SIL";
        int first = segment.first;
        if (silenceBefore) {
            int voice = first;
            while (voice < segment.end && quiet(voice))
                ++voice;
            if (voice - first >= kQuietEdgeFrames)
                first = voice - kEdgeMarginFrames;
        }
        int end = segment.end;
        if (silenceAfter) {
            // A voice fades out into a recording's hiss over a stretch
            // louder than its silence; the quiet voice of a synthesizer that
            // voices no noise, before its digital silence, is voice.
            const auto digital = [&](int frame) {
                return below(frame, Loudness::kDigitalSilenceDb + 1);
            };
            const bool intoHiss = !digital(end - 1) && !digital(end);
            int voice = end;
            while (voice > first && below(voice - 1, intoHiss ? fading : silence))
                --voice;
            if (end - voice >= kQuietEdgeFrames)
                end = voice + kEdgeMarginFrames;
        }
        if (first > segment.first)
            addSegment(closed, {"SIL", segment.first, first});
        addSegment(closed, {segment.phone, first, end});
        if (end < segment.end)
            addSegment(closed, {"SIL", end, segment.end});
    }
    return closed;
}

// An alignment that hears a voice poorly (a language the model was not
// trained on) crams the last phones of a word into the quiet after it,
// too short for the edges above. Once the words are read, a phone with
// silence on either side and no frame louder than the silence is
// silence; it keeps its place, so the words read still count it.
void closeCrammedPhones(std::vector<PhoneSegment>& segments, const std::vector<float>& levels,
                        float silence, bool startsClip, bool endsClip) {
    const auto quiet = [&](int frame) {
        return frame < 0 || static_cast<std::size_t>(frame) >= levels.size() ||
               levels[static_cast<std::size_t>(frame)] < silence;
    };
    for (std::size_t i = 0; i < segments.size(); ++i) {
        PhoneSegment& segment = segments[i];
        const bool silenceBefore = i == 0 ? startsClip : segments[i - 1].phone == "SIL";
        const bool silenceAfter =
            i + 1 == segments.size() ? endsClip : segments[i + 1].phone == "SIL";
        if (segment.phone == "SIL" || !silenceBefore || !silenceAfter)
            continue;
        bool allQuiet = true;
        for (int frame = segment.first; frame < segment.end && allQuiet; ++frame)
            allQuiet = quiet(frame);
        if (allQuiet)
            segment.phone = "SIL";
    }
}

std::size_t quietestFrame(const std::int16_t* samples, std::size_t from, std::size_t to) {
    std::size_t best = to;
    double bestEnergy = -1;
    for (std::size_t at = from; at + kSamplesPerFrame <= to; at += kSamplesPerFrame) {
        double energy = 0;
        for (std::size_t i = at; i < at + kSamplesPerFrame; ++i)
            energy += static_cast<double>(samples[i]) * samples[i];
        if (bestEnergy < 0 || energy < bestEnergy) {
            bestEnergy = energy;
            best = at;
        }
    }
    return best;
}

} // namespace

void PassageSearch::alignTo(const Pronunciations& dialogue) {
    dialogue_ = dialogue;
    nextWord_ = 0;
    aligning_ = true;
}

void PassageSearch::feed(const std::int16_t* samples, std::size_t count) {
    pending_.insert(pending_.end(), samples, samples + count);
    while (pending_.size() >= kLongestPassage) {
        if (aligning_) {
            alignPassage(false);
            continue;
        }
        recognisePhones(quietCut());
    }
}

std::size_t PassageSearch::quietCut() const {
    // The quietest moment of the passage's last third.
    const std::size_t longest = std::min(kLongestPassage, pending_.size());
    return quietestFrame(pending_.data(), shortestCut(), longest);
}

std::size_t PassageSearch::shortestCut() const {
    return std::min(kShortestPassage, std::min(kLongestPassage, pending_.size()) / 3 * 2);
}

void PassageSearch::recognisePhones(std::size_t count) {
    const auto levels = Loudness::frameLevels(pending_.data(), count);
    silence_.observe(levels);
    const auto segments = searchWithoutPauses(
        count, levels,
        [this](const std::int16_t* samples, std::size_t length) {
            return search_.phones(samples, length);
        },
        count == pending_.size() && finishing_);
    keep(segments, segments.size(), count);
    advance(count);
}

void PassageSearch::keep(const std::vector<PhoneSegment>& segments, std::size_t count,
                         std::size_t passageSamples) {
    const double offsetMs = static_cast<double>(pendingStart_) * 1000.0 / VoiceDecoder::kSampleRate;
    const double lengthMs =
        static_cast<double>(passageSamples) * 1000.0 / VoiceDecoder::kSampleRate;
    // A passage that goes on from where the one before was cut at a change
    // of phone starts with that change.
    const double firstChangeMs = continuesAtChange_ ? kChangeAfterFrameStartMs : 0;
    const auto changeAt = [&](int frame) {
        return frame <= 0 ? firstChangeMs
                          : std::min(lengthMs, frame * kMsPerFrame + kChangeAfterFrameStartMs);
    };
    for (std::size_t i = 0; i < count && i < segments.size(); ++i)
        phones_.push_back({offsetMs + changeAt(segments[i].first),
                           offsetMs + changeAt(segments[i].end), segments[i].phone});
}

void PassageSearch::advance(std::size_t samples) {
    samples = std::min(samples, pending_.size());
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(samples));
    pendingStart_ += samples;
}

// The search would stretch the first word back over silence before it,
// so a passage that starts silent has its silence closed and is aligned
// from shortly before the voice comes in. True when it closed any.
bool PassageSearch::skipSilenceAtStart(std::size_t passage) {
    const auto levels = Loudness::frameLevels(pending_.data(), passage);
    silence_.observe(levels);
    const std::size_t silent = Loudness::silentFramesAtStart(levels, silence_.level());
    if (silent < kSilenceSkipped + kOnsetFrames)
        return false;
    const std::size_t frames = silent == levels.size() ? silent : silent - kOnsetFrames;
    const std::size_t samples = frames == levels.size() ? passage : frames * kSamplesPerFrame;
    keep({{"SIL", 0, static_cast<int>(frames)}}, 1, passage);
    advance(samples);
    continuesAtChange_ = samples < passage;
    return true;
}

// The alignment would rather stretch a word over a pause than take the
// pause for one, and the phone search hears phones in a long silence, so
// the pauses are taken out of what either hears and put back as silence in
// what it found. A phone laid across a pause keeps its longer side;
// silences shorter than the longest closure of a stop are left to the
// search, which keeps such closures inside their words.
std::vector<PhoneSegment> PassageSearch::searchWithoutPauses(std::size_t passage,
                                                             const std::vector<float>& levels,
                                                             const Search& search, bool endsClip) {
    const Loudness::Condensed voice = Loudness::withoutLongSilences(
        pending_.data(), passage, levels,
        {{silence_.level(), kShortestPauseFrames},
         {silence_.level(), kShortestRecordedPauseFrames, true},
         {Loudness::kDigitalSilenceDb + 1, kShortestDigitalPauseFrames},
         {silence_.pauseLevel(), kShortestWaveringPauseFrames}},
        kPauseMarginFrames);
    const int total = static_cast<int>(passage / kSamplesPerFrame);
    // Too little voice for the search to hold on to: a pause.
    if (voice.frameOf.size() < kShortestVoiceFrames)
        return {{"SIL", 0, total}};
    const auto found = search(voice.samples.data(), voice.samples.size());
    const int frames = static_cast<int>(voice.frameOf.size());
    const auto whole = [&](int frame) {
        return frame < frames ? voice.frameOf[static_cast<std::size_t>(frame)]
                              : voice.frameOf.back() + 1 + (frame - frames);
    };
    std::vector<PhoneSegment> segments;
    int reached = 0;
    for (const PhoneSegment& segment : found) {
        // The runs of the segment's frames that lie together in the whole.
        int bestFirst = whole(segment.first), bestEnd = bestFirst, runFirst = bestFirst;
        for (int frame = segment.first; frame < segment.end; ++frame) {
            const int at = whole(frame);
            if (frame > segment.first && at != whole(frame - 1) + 1)
                runFirst = at;
            if (at + 1 - runFirst > bestEnd - bestFirst) {
                bestFirst = runFirst;
                bestEnd = at + 1;
            }
        }
        const bool silent = segment.phone == "SIL";
        const int first = silent ? reached : bestFirst;
        if (first > reached)
            addSegment(segments, {"SIL", reached, first});
        const int end = silent ? whole(segment.end - 1) + 1 : bestEnd;
        addSegment(segments, {segment.phone, first, end});
        reached = end;
    }
    if (!found.empty() && reached < total)
        addSegment(segments, {"SIL", reached, total});
    return closeQuietEdges(segments, levels, silence_.level(), silence_.pauseLevel(),
                           phones_.empty() || phones_.back().phone == "SIL", endsClip);
}

void PassageSearch::alignPassage(bool last) {
    // A long clip is aligned a passage at a time, each against the words
    // that may be in it. The passage's last words may have been cut short,
    // so they are aligned again with the next passage, which starts where
    // the last word kept ends.
    while (skipSilenceAtStart(last ? pending_.size() : quietCut())) {
        // More of the clip may be needed to make a whole passage.
        if (pending_.empty() || (!last && pending_.size() < kLongestPassage))
            return;
    }
    const std::size_t shortest = shortestCut();
    std::size_t passage = last ? pending_.size() : quietCut();
    if (nextWord_ >= dialogue_.spellings.size()) {
        // Past the dialogue's last word the mouth stays closed.
        keep({{"SIL", 0, static_cast<int>(passage / kSamplesPerFrame)}}, 1, passage);
        advance(passage);
        continuesAtChange_ = false;
        return;
    }
    const std::size_t from = nextWord_;
    const std::size_t to = std::min(dialogue_.spellings.size(), from + kWordsPerPassage);
    const std::size_t passageBefore = passage;
    const bool wholeBefore = last && to == dialogue_.spellings.size();
    bool whole = wholeBefore;
    std::vector<PhoneSegment> segments;
    std::vector<std::string> spoken;
    std::vector<std::size_t> spokenSegment; // each phone's segment
    std::vector<WordRead> found;
    const auto alignLeapingOver = [&](std::size_t mostSkipped) {
        passage = passageBefore;
        whole = wholeBefore;
        segments.clear();
        for (int attempt = 0; segments.empty() && attempt < kAttempts; ++attempt) {
            if (attempt > 0) {
                // Now and then the search finds no way to end a word exactly
                // where a passage is cut; another cut, at an earlier quiet
                // moment, gets through. The clip's last passage cannot move
                // its end, but the voice may have ended before the dialogue.
                if (whole)
                    whole = false;
                else if (!last && passage > shortest + kSamplesPerFrame)
                    passage = quietestFrame(pending_.data(), shortest, passage - kSamplesPerFrame);
                else
                    break;
            }
            const PhoneGraph graph = dialogueGraph(dialogue_, from, to, !whole, mostSkipped);
            segments = searchWithoutPauses(
                passage, Loudness::frameLevels(pending_.data(), passage),
                [&](const std::int16_t* samples, std::size_t count) {
                    return search_.align(graph, samples, count);
                },
                last && passage == pending_.size());
        }
        if (segments.empty())
            throw VoiceError("the voice could not be matched to the dialogue" +
                             (pendingStart_ > 0 ? " after " + clockTime(pendingStart_) : ""));
        spoken.clear();
        spokenSegment.clear();
        for (std::size_t i = 0; i < segments.size(); ++i)
            if (segments[i].phone != "SIL") {
                spoken.push_back(segments[i].phone);
                spokenSegment.push_back(i);
            }
        found = readWords(spoken, dialogue_, from, mostSkipped);
        closeCrammedPhones(segments, Loudness::frameLevels(pending_.data(), passage),
                           silence_.level(), phones_.empty() || phones_.back().phone == "SIL",
                           last && passage == pending_.size());
    };
    alignLeapingOver(kMostSkipped);
    // Where the model hears a voice poorly (a language it was not trained
    // on), a leap over words it does say, with a phone of the next words
    // held over them, can fit better than the words themselves: such a
    // leap is not believed, and the passage is aligned without leaps.
    if (!found.empty() && found.front().word > from) {
        const WordRead& looked = found[std::min(found.size(), kWordsLookedAtAfterALeap) - 1];
        const auto end =
            segments.begin() + static_cast<std::ptrdiff_t>(spokenSegment[looked.end - 1] + 1);
        if (std::any_of(segments.begin(), end, [](const PhoneSegment& segment) {
                return segment.phone != "SIL" && segment.end - segment.first > kLongestPhoneFrames;
            }))
            alignLeapingOver(0);
    }
    // The words up to the n-th found are kept; any the voice leapt over
    // are counted.
    const auto keepWords = [&](std::size_t n) {
        wordsSkipped_ += found[n - 1].word + 1 - nextWord_ - n;
        nextWord_ = found[n - 1].word + 1;
    };
    if (last) {
        // Made to end on the dialogue's last word, the search crams words
        // the voice never says into its last frames, each phone as short
        // as a phone can be: those are not heard, and the rest is silence.
        std::size_t heard = found.size();
        const auto squeezed = [&](std::size_t word) {
            const std::size_t first = word == 0 ? 0 : found[word - 1].end;
            for (std::size_t phone = first; phone < found[word].end; ++phone) {
                const PhoneSegment& segment = segments[spokenSegment[phone]];
                if (segment.end - segment.first > kShortestPhoneFrames)
                    return false;
            }
            return true;
        };
        while (heard > 0 && squeezed(heard - 1))
            --heard;
        if (heard < found.size()) {
            const std::size_t kept = heard == 0 ? 0 : spokenSegment[found[heard - 1].end - 1] + 1;
            std::vector<PhoneSegment> closed(segments.begin(),
                                             segments.begin() + static_cast<std::ptrdiff_t>(kept));
            addSegment(closed, {"SIL", kept == 0 ? 0 : closed.back().end,
                                static_cast<int>(passage / kSamplesPerFrame)});
            segments = std::move(closed);
        }
        keep(segments, segments.size(), passage);
        advance(passage);
        if (heard > 0)
            keepWords(heard);
        return;
    }
    // Keep the words that end well before the cut; at least one, so that
    // the alignment always moves on.
    const int latestEnd = static_cast<int>((passage - kHeldBack) / kSamplesPerFrame);
    std::size_t words = 0;
    while (words < found.size() && segments[spokenSegment[found[words].end - 1]].end <= latestEnd)
        ++words;
    if (words == 0 && !found.empty())
        words = 1;
    if (words == 0) {
        // No word ends in the passage: it holds a pause, and perhaps the
        // start of a word cut short, which is aligned again from its start.
        std::size_t kept = spokenSegment.empty() ? segments.size() : spokenSegment.front();
        std::size_t until = kept < segments.size()
                                ? static_cast<std::size_t>(segments[kept].first) * kSamplesPerFrame
                                : passage;
        if (until == 0) {
            kept = segments.size();
            until = passage;
        }
        keep(segments, kept, passage);
        advance(until);
        continuesAtChange_ = until < passage;
        return;
    }
    const std::size_t lastSegment = spokenSegment[found[words - 1].end - 1];
    keep(segments, lastSegment + 1, passage);
    advance(static_cast<std::size_t>(segments[lastSegment].end) * kSamplesPerFrame);
    keepWords(words);
    continuesAtChange_ = true;
}

std::size_t PassageSearch::wordsSkipped() const {
    return wordsSkipped_;
}

std::size_t PassageSearch::wordsNotHeard() const {
    return dialogue_.spellings.size() - std::min(nextWord_, dialogue_.spellings.size());
}

std::vector<TimedPhone> PassageSearch::finish() {
    finishing_ = true;
    if (aligning_) {
        // The clip's end is aligned like the rest until only a few seconds
        // are left, so that even the last passage starts where a leap can
        // still catch up with the voice.
        while (pending_.size() > kLastPassage && nextWord_ < dialogue_.spellings.size()) {
            const std::size_t before = pending_.size();
            alignPassage(false);
            if (pending_.size() == before)
                break;
        }
        if (!pending_.empty() || nextWord_ < dialogue_.spellings.size())
            alignPassage(true);
    } else if (!pending_.empty()) {
        recognisePhones(pending_.size());
    }
    return std::move(phones_);
}

} // namespace visemer
