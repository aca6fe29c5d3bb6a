#include "tool/Draft.h"

#include "exchange/RowLayout.h"
#include "exchange/Vocabulary.h"
#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <algorithm>
#include <cstdlib>

namespace visemer::tool {
namespace {

// Quieter than this everywhere, a clip has nothing to recognise.
constexpr int kSilentPeak = 64;

} // namespace

std::vector<TimedLabel> labelledStretches(const std::vector<TimedPhone>& phones) {
    std::vector<TimedLabel> stretches;
    for (const TimedPhone& phone : phones) {
        const std::string label(Vocabulary::labelOfPhone(phone.phone));
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
    Draft draft;
    PhoneRecognizer recognizer(request.model, request.dialogue ? PhoneRecognizer::Search::Dialogue
                                                               : PhoneRecognizer::Search::Phones);
    if (request.dialogue) {
        const Pronunciations words = recognizer.lookUp(*request.dialogue);
        draft.unknownWords = words.unknown;
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
