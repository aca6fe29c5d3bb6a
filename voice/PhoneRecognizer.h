#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "voice/DialogueWords.h"

namespace visemer {

struct PhoneGraph;

// A phone heard in the voice, with its place on the clip.
struct TimedPhone {
    double startMs = 0;
    double endMs = 0;
    std::string phone; // one of the 39 English phones, or "SIL"
};

// Where the acoustic model, the pronouncing dictionary and the phonetic
// language model are installed.
struct SpeechModel {
    std::string folder = "/usr/share/pocketsphinx/model/en-us";
    std::string acoustic() const { return folder + "/en-us"; }
    std::string dictionary() const { return folder + "/cmudict-en-us.dict"; }
    std::string phoneLanguage() const { return folder + "/en-us-phone.lm.bin"; }
};

// Recognises the phones of 16 kHz mono speech fed to it block by block.
// Without a dialogue it searches for any sequence of phones, in passages
// of at most half a minute cut at the quietest moment near their end, so
// memory stays bounded however long the clip. With a dialogue it aligns
// the dialogue's phones to the voice, in passages of the same length.
class PhoneRecognizer {
public:
    enum class Search { Phones, Dialogue };

    // Throws VoiceError when the model cannot be loaded.
    PhoneRecognizer(const SpeechModel& model, Search search);
    ~PhoneRecognizer();
    PhoneRecognizer(const PhoneRecognizer&) = delete;
    PhoneRecognizer& operator=(const PhoneRecognizer&) = delete;

    // Splits the text into words and looks them up.
    Pronunciations lookUp(const std::string& dialogue);
    // Aligns from now on to these words (for a Dialogue search); throws
    // VoiceError when none is known.
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
    struct Decoder;
    // A phone the search found, in frames of 10 ms from the passage's start.
    struct Segment {
        std::string phone;
        int first = 0;
        int end = 0; // one past its last frame
    };
    // Searches the first `count` samples not yet run.
    std::vector<Segment> runUtterance(std::size_t count);
    // Where the next passage is cut, and the earliest it may be cut.
    std::size_t quietCut() const;
    std::size_t shortestCut() const;
    // The phone search over the first `count` samples, kept whole.
    void recognisePhones(std::size_t count);
    void alignPassage(bool last);
    void useGraph(const PhoneGraph& graph);
    // Keeps the first `count` segments of a passage `passageSamples` long.
    void keep(const std::vector<Segment>& segments, std::size_t count, std::size_t passageSamples);
    // Drops samples that are done with from the front of those not yet run.
    void advance(std::size_t samples);

    std::unique_ptr<Decoder> decoder_;
    bool aligning_ = false;
    Pronunciations dialogue_;
    std::size_t nextWord_ = 0; // the first dialogue word not yet kept
    std::size_t wordsSkipped_ = 0;
    std::vector<std::int16_t> pending_; // the samples not yet run
    std::uint64_t pendingStart_ = 0;    // their first sample on the clip
    bool continuesAtChange_ = false;    // they start where a phone changes
    std::vector<TimedPhone> phones_;
};

} // namespace visemer
