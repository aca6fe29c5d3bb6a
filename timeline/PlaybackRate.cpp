#include "timeline/PlaybackRate.h"

#include <algorithm>
#include <cmath>

namespace visemer::PlaybackRate {
namespace {
constexpr double kLongestStepMs = 60.0 * 60.0 * 1000.0;
} // namespace

float delayUnit(int fps, int timingAdjustment) {
    const float halfRate = static_cast<float>(fps + timingAdjustment) / 2.0f;
    return 1000.0f / halfRate;
}

double stepMs(int delay, float unit) {
    if (delay <= 0 || !(unit > 0.0f) || std::isinf(unit))
        return 0.0;
    return std::min(static_cast<double>(delay) * static_cast<double>(unit), kLongestStepMs);
}

} // namespace visemer::PlaybackRate
