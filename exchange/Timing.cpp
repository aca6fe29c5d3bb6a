#include "exchange/Timing.h"

#include "text/DecimalText.h"
#include "timeline/PlaybackRate.h"

namespace visemer {

double delayUnitMs(const Timing& timing) {
    if (timing.reduced || timing.fps.empty())
        return 0;
    // The FPS list holds plain numbers; any other text selects nothing.
    const int fps = readDecimal(timing.fps);
    if (writeDecimal(fps) != timing.fps || fps < PlaybackRate::kLowestFps ||
        fps > PlaybackRate::kHighestFps)
        return 0;
    const int adjustment =
        timing.browser ? PlaybackRate::kBrowserAdjustment : PlaybackRate::kProjectorAdjustment;
    return PlaybackRate::delayUnit(fps, adjustment);
}

std::vector<TimedLabel> timeRows(const Timing& timing, double unitMs) {
    std::vector<TimedLabel> timed;
    timed.reserve(timing.rows.size());
    double at = 0;
    for (const TimingRow& row : timing.rows) {
        const double step =
            PlaybackRate::stepMs(readDecimal(row.delay), static_cast<float>(unitMs));
        timed.push_back({at, at + step, row.label});
        at += step;
    }
    return timed;
}

} // namespace visemer
