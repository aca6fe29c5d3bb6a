#pragma once

#include "exchange/Timing.h"
#include "voice/PhoneRecognizer.h"
#include "voice/SpokenText.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace visemer::tool {

inline constexpr const char* kDictionaryLanguage = "en-us";

struct DraftRequest {
    std::string voice;
    std::optional<std::string> dialogue; // the text, when given
    // The dialogue's language, an espeak-ng code; English of the United
    // States is looked up in the pronouncing dictionary first.
    std::string language = kDictionaryLanguage;
    int fps = 30;
    bool browser = true;
    SpeechModel model;
};

struct Draft {
    Timing timing;
    std::vector<TimedPhone> phones;
    std::size_t dialogueWords = 0;         // the dialogue's words, when given
    std::vector<std::string> unknownWords; // dialogue words left out
    std::size_t wordsNotHeard = 0;         // the dialogue's last words after the voice ended
    std::size_t wordsSkipped = 0;          // dialogue words the voice does not say
    double clipMs = 0;
    int clipRate = 0; // the clip's own sample rate, when known
};

// What drafts made one after another share, each loaded once: the speech
// model, and espeak-ng's text rules once a dialogue needs them. One
// thread at a time.
class DraftEngines {
public:
    explicit DraftEngines(const SpeechModel& model = {}) : model_(model) {}
    LoadedModel& model() { return model_; }
    // Throws VoiceError when espeak-ng's data cannot be loaded.
    const SpokenText& spoken();

private:
    LoadedModel model_;
    std::optional<SpokenText> spoken_;
};

// Recognises the voice's phones and lays them out as rows. Throws
// VoiceError for a clip or dialogue it cannot use. The first form loads
// the request's model for this draft alone.
Draft draftTiming(const DraftRequest& request, const std::function<void(double)>& progress);
Draft draftTiming(const DraftRequest& request, DraftEngines& engines,
                  const std::function<void(double)>& progress);

// The phones as labelled stretches: neighbours with one label joined.
std::vector<TimedLabel> labelledStretches(const std::vector<TimedPhone>& phones);

// The phones laid out as a draft's rows at the timing's delay step.
std::vector<TimingRow> draftRows(const std::vector<TimedPhone>& phones, const Timing& timing);

} // namespace visemer::tool
