#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace visemer {

// Decodes any clip the editor plays to 16 kHz mono 16-bit samples and
// hands them over block by block, so a clip of any length needs only a
// block's memory.
class VoiceDecoder {
public:
    static constexpr int kSampleRate = 16000;

    using Block = std::function<void(const std::int16_t* samples, std::size_t count)>;
    // Told the share of the clip decoded so far, 0 to 1, now and then.
    using Progress = std::function<void(double fraction)>;

    struct Decoded {
        std::uint64_t samples = 0; // at kSampleRate
        int clipRate = 0;          // the clip's own sample rate; 0 when unknown
    };
    // Throws VoiceError when the clip cannot be read or has no sound.
    static Decoded decode(const std::string& path, const Block& block, const Progress& progress);
};

} // namespace visemer
