#pragma once

#include "voice/DialogueWords.h"
#include "voice/Loudness.h"
#include "voice/PhoneSearch.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace visemer {

// A phone heard in the voice, with its place on the clip.
struct TimedPhone {
    double startMs = 0;
    double endMs = 0;
    std::string phone; // one of the 39 English phones, or "SIL"
};

// Runs a phone search over a clip of any length fed block by block, in
// passages of at most half a minute, so memory stays bounded. Without a
// dialogue each passage is cut at the quietest moment near its end. With
// one, each is aligned against the words that may be in it, and goes on
// from the end of the last word it keeps.
class PassageSearch {
public:
    explicit PassageSearch(PhoneSearch& search) : search_(search) {}

    // Aligns from now on to these words, which must not be empty.
    void alignTo(const Pronunciations& dialogue);
    void feed(const std::int16_t* samples, std::size_t count);
    // The phones of everything fed, in time order; throws VoiceError when
    // the voice could not be matched to the dialogue.
    std::vector<TimedPhone> finish();
    // After finish: how many of the dialogue's last words the voice ended
    // before.
    std::size_t wordsNotHeard() const;
    // After finish: how many dialogue words the voice was found not to say.
    std::size_t wordsSkipped() const;

private:
    // Where the next passage is cut, and the earliest it may be cut.
    std::size_t quietCut() const;
    std::size_t shortestCut() const;
    // The phone search over the first `count` samples, kept whole.
    void recognisePhones(std::size_t count);
    void alignPassage(bool last);
    bool skipSilenceAtStart(std::size_t passage);
    using Search = std::function<std::vector<PhoneSegment>(const std::int16_t*, std::size_t)>;
    // `levels`: the passage's frame levels; `endsClip`: the passage runs to
    // the clip's end.
    std::vector<PhoneSegment> searchWithoutPauses(std::size_t passage,
                                                  const std::vector<float>& levels,
                                                  const Search& search, bool endsClip);
    // Keeps the first `count` segments of a passage `passageSamples` long.
    void keep(const std::vector<PhoneSegment>& segments, std::size_t count,
              std::size_t passageSamples);
    // Drops samples that are done with from the front of those not yet run.
    void advance(std::size_t samples);

    PhoneSearch& search_;
    bool aligning_ = false;
    Pronunciations dialogue_;
    std::size_t nextWord_ = 0; // the first dialogue word not yet kept
    std::size_t wordsSkipped_ = 0;
    std::vector<std::int16_t> pending_; // the samples not yet run
    std::uint64_t pendingStart_ = 0;    // their first sample on the clip
    bool continuesAtChange_ = false;    // they start where a phone changes
    bool finishing_ = false;            // nothing more will be fed
    std::vector<TimedPhone> phones_;
    Loudness::SilenceLevel silence_;
};

} // namespace visemer
