#include "tool/ClipEnvelope.h"

#include "voice/VoiceDecoder.h"

#include <algorithm>

namespace visemer::tool {

ClipEnvelope envelopeOf(const std::string& clip, const std::function<void(double)>& progress) {
    ClipEnvelope envelope;
    constexpr std::uint64_t kBinSamples =
        static_cast<std::uint64_t>(VoiceDecoder::kSampleRate * ClipEnvelope::kBinMs / 1000);
    std::uint64_t at = 0;
    const VoiceDecoder::Decoded decoded = VoiceDecoder::decode(
        clip,
        [&](const std::int16_t* samples, std::size_t count) {
            for (std::size_t i = 0; i < count; ++i, ++at) {
                if (at % kBinSamples == 0) {
                    envelope.low.push_back(samples[i]);
                    envelope.high.push_back(samples[i]);
                    continue;
                }
                envelope.low.back() = std::min(envelope.low.back(), samples[i]);
                envelope.high.back() = std::max(envelope.high.back(), samples[i]);
            }
        },
        progress);
    envelope.lengthMs = static_cast<double>(decoded.samples) * 1000.0 / VoiceDecoder::kSampleRate;
    return envelope;
}

} // namespace visemer::tool
