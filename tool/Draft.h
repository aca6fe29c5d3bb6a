#pragma once

#include "exchange/Timing.h"
#include "voice/PhoneRecognizer.h"

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
    std::vector<std::string> unknownWords; // dialogue words left out
    std::size_t wordsNotHeard = 0;         // the dialogue's last words after the voice ended
    std::size_t wordsSkipped = 0;          // dialogue words the voice does not say
    double clipMs = 0;
    int clipRate = 0; // the clip's own sample rate, when known
};

// Recognises the voice's phones and lays them out as rows. Throws
// VoiceError for a clip or dialogue it cannot use.
Draft draftTiming(const DraftRequest& request, const std::function<void(double)>& progress);

// The phones as labelled stretches: neighbours with one label joined.
std::vector<TimedLabel> labelledStretches(const std::vector<TimedPhone>& phones);

// The phones laid out as a draft's rows at the timing's delay step.
std::vector<TimingRow> draftRows(const std::vector<TimedPhone>& phones, const Timing& timing);

} // namespace visemer::tool
