#pragma once

#include "exchange/Timing.h"
#include "tool/Canvas.h"
#include "tool/ClipEnvelope.h"
#include "tool/MouthDrawings.h"

#include <string>
#include <vector>

namespace visemer::tool {

// What a picture of a timing shows: the stretch of time, across so many
// pixels, with a title over it.
struct PictureSpan {
    double fromMs = 0;
    double toMs = 0;
    int width = 1200;
    std::string title;
};

// A timing at a glance: the clip's waveform (its peak envelope) across the
// width, a ruler in seconds and in frames at the timing's FPS, and a band
// with each row's span, label and mouth drawing, rows of "Closed" shaded.
// The rows are timed with the preview's own delay step, so their spans
// stand under the sound they play with. Without an envelope the band and
// the ruler are drawn alone.
Canvas drawTiming(const Timing& timing, const ClipEnvelope* envelope, const MouthDrawings& drawings,
                  const PictureSpan& span);

} // namespace visemer::tool
