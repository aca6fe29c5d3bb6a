#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "voice/DialogueWords.h"
#include "voice/LoadedModel.h"
#include "voice/PassageSearch.h"

namespace visemer {

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
    // On a model loaded before, for one clip; the model outlives this.
    PhoneRecognizer(LoadedModel& model, Search search);
    ~PhoneRecognizer();
    PhoneRecognizer(const PhoneRecognizer&) = delete;
    PhoneRecognizer& operator=(const PhoneRecognizer&) = delete;

    // Splits the text into words and looks them up in the pronouncing
    // dictionary. A word it lacks takes the spelling `spell` gives it, or
    // is left out when that is empty.
    using Speller = std::function<std::string(const std::string& word)>;
    Pronunciations lookUp(const std::string& dialogue, const Speller& spell = {});
    // Aligns from now on to these words (for a Dialogue search); throws
    // VoiceError when none is known.
    void alignTo(const Pronunciations& dialogue);

    void feed(const std::int16_t* samples, std::size_t count) { passages_.feed(samples, count); }
    // The phones of everything fed, in time order; throws VoiceError when
    // the voice could not be matched to the dialogue.
    std::vector<TimedPhone> finish() { return passages_.finish(); }
    // After finish: how many of the dialogue's last words the voice ended
    // before.
    std::size_t wordsNotHeard() const { return passages_.wordsNotHeard(); }
    // After finish: how many dialogue words the voice was found not to say.
    std::size_t wordsSkipped() const { return passages_.wordsSkipped(); }

private:
    std::unique_ptr<LoadedModel> ownModel_; // when not given one
    SphinxSearch& search_;
    PassageSearch passages_;
};

} // namespace visemer
