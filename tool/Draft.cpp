#include "tool/Draft.h"

#include "exchange/RowLayout.h"
#include "exchange/Vocabulary.h"
#include "voice/ModelPhones.h"
#include "voice/SpokenText.h"
#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace visemer::tool {
namespace {

// Quieter than this everywhere, a clip has nothing to recognise.
constexpr int kSilentPeak = 64;

SpokenLanguage languageNamed(const SpokenText& spoken, const std::string& code) {
    const auto language = spoken.language(code);
    if (!language)
        throw VoiceError("espeak-ng has no language " + code);
    return *language;
}

// English of the United States is spelled by the pronouncing dictionary,
// and by espeak-ng where the dictionary lacks a word (a name, a number);
// every other language by espeak-ng alone.
Pronunciations pronunciationsOf(const std::string& dialogue, const std::string& code,
                                PhoneRecognizer& recognizer, DraftEngines& engines) {
    std::optional<SpokenLanguage> language;
    const auto speak = [&](const std::string& text) {
        const SpokenText& spoken = engines.spoken();
        if (!language)
            language = languageNamed(spoken, code);
        return spoken.words(text, *language);
    };
    if (code != kDictionaryLanguage)
        return pronunciationsOf(speak(dialogue));
    return recognizer.lookUp(dialogue, [&](const std::string& word) {
        std::vector<std::string> phonemes;
        for (const SpokenWord& spokenWord : speak(word))
            phonemes.insert(phonemes.end(), spokenWord.phonemes.begin(), spokenWord.phonemes.end());
        return modelSpelling(phonemes);
    });
}

} // namespace

const SpokenText& DraftEngines::spoken() {
    if (!spoken_)
        spoken_.emplace();
    return *spoken_;
}

std::vector<TimedLabel> labelledStretches(const std::vector<TimedPhone>& phones) {
    std::vector<TimedLabel> stretches;
    for (const TimedPhone& phone : phones) {
        const std::string label(
            Vocabulary::labelOfPhoneme(phonemeOf(phone.phone), modelPhoneOf(phone.phone)));
        if (!stretches.empty() && stretches.back().label == label) {
            stretches.back().endMs = std::max(stretches.back().endMs, phone.endMs);
            continue;
        }
        stretches.push_back({phone.startMs, phone.endMs, label});
    }
    return stretches;
}

std::vector<TimingRow> draftRows(const std::vector<TimedPhone>& phones, const Timing& timing) {
    return layOutRows(labelledStretches(phones), delayUnitMs(timing),
                      SilenceStart::InStepVoiceEnds);
}

Draft draftTiming(const DraftRequest& request, const std::function<void(double)>& progress) {
    DraftEngines engines(request.model);
    return draftTiming(request, engines, progress);
}

Draft draftTiming(const DraftRequest& request, DraftEngines& engines,
                  const std::function<void(double)>& progress) {
    Draft draft;
    PhoneRecognizer recognizer(engines.model(), request.dialogue ? PhoneRecognizer::Search::Dialogue
                                                                 : PhoneRecognizer::Search::Phones);
    if (request.dialogue) {
        const Pronunciations words =
            pronunciationsOf(*request.dialogue, request.language, recognizer, engines);
        draft.unknownWords = words.unknown;
        draft.dialogueWords = words.spellings.size() + words.unknown.size();
        recognizer.alignTo(words);
    }
    int peak = 0;
    const VoiceDecoder::Decoded decoded = VoiceDecoder::decode(
        request.voice,
        [&](const std::int16_t* block, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i)
                peak = std::max(peak, std::abs(static_cast<int>(block[i])));
            recognizer.feed(block, count);
        },
        progress);
    if (peak < kSilentPeak)
        throw VoiceError(request.voice + " is silent");
    draft.clipMs = static_cast<double>(decoded.samples) * 1000.0 / VoiceDecoder::kSampleRate;
    draft.clipRate = decoded.clipRate;
    draft.phones = recognizer.finish();
    draft.wordsNotHeard = recognizer.wordsNotHeard();
    draft.wordsSkipped = recognizer.wordsSkipped();

    Timing& timing = draft.timing;
    timing.fps = std::to_string(request.fps);
    timing.browser = request.browser;
    timing.rows = draftRows(draft.phones, timing);
    if (timing.rows.empty())
        throw VoiceError("no speech was recognised in " + request.voice);
    return draft;
}

} // namespace visemer::tool
