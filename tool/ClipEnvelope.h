#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace visemer::tool {

// A clip's loudness at a glance: the lowest and highest sample of each
// 2.5 ms, read a block at a time, so an hour's clip takes 6 MB.
struct ClipEnvelope {
    static constexpr double kBinMs = 2.5;
    std::vector<std::int16_t> low, high;
    double lengthMs = 0;
};

// Throws VoiceError when the clip cannot be read.
ClipEnvelope envelopeOf(const std::string& clip, const std::function<void(double)>& progress);

} // namespace visemer::tool
