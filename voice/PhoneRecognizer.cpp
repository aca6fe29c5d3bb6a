#include "voice/PhoneRecognizer.h"

#include "voice/DialogueGrammar.h"
#include "voice/SphinxSearch.h"
#include "voice/VoiceError.h"

namespace visemer {

PhoneRecognizer::PhoneRecognizer(const SpeechModel& model, Search search)
    : ownModel_(std::make_unique<LoadedModel>(model)),
      search_(ownModel_->forClip(search == Search::Dialogue)), passages_(search_) {}

PhoneRecognizer::PhoneRecognizer(LoadedModel& model, Search search)
    : search_(model.forClip(search == Search::Dialogue)), passages_(search_) {}

PhoneRecognizer::~PhoneRecognizer() = default;

Pronunciations PhoneRecognizer::lookUp(const std::string& dialogue, const Speller& spell) {
    Pronunciations found;
    bool broken = false;
    for (const auto& [word, afterBreak] : dialogueWords(dialogue)) {
        broken = broken || afterBreak;
        std::vector<std::string> spellings = search_.spellingsOf(word);
        if (spellings.empty() && spell)
            if (std::string spelling = spell(word); !spelling.empty())
                spellings.push_back(std::move(spelling));
        if (spellings.empty()) {
            found.unknown.push_back(word);
            continue;
        }
        found.spellings.push_back(std::move(spellings));
        found.afterBreak.push_back(broken);
        broken = false;
    }
    return found;
}

void PhoneRecognizer::alignTo(const Pronunciations& dialogue) {
    if (dialogue.spellings.empty())
        throw VoiceError(dialogue.unknown.empty()
                             ? "the dialogue has no words"
                             : "no word of the dialogue is in the pronouncing dictionary: " +
                                   joinedWords(dialogue.unknown));
    search_.addPhoneWords(phonesIn(dialogue));
    passages_.alignTo(dialogue);
}

} // namespace visemer
