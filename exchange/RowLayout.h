#pragma once

#include "exchange/Timing.h"

#include <vector>

namespace visemer {

// Lays timed labels out as frame rows of whole delay steps. Row r starts
// where the rounded step count of its own start time puts it, so every
// row's start is within half a step of its time and rounding never adds
// up. A stretch that rounds to no step at all is left out (its neighbours
// take its time), and neighbours that end up with the same label become one
// row. Time before the first stretch and gaps between stretches show
// "Closed". The last stretch keeps at least one step, and so does every
// stretch whose drawing closes the lips (b, m, p).
//
// Where the voice stops, the "Closed" row that follows starts at the nearest
// step, or in the step the voice ends in: a mouth that closes a fraction of
// a step early, as it opens ahead of the sound, rather than one that moves
// on into the silence.
enum class SilenceStart { AtNearestStep, InStepVoiceEnds };
std::vector<TimingRow> layOutRows(const std::vector<TimedLabel>& stretches, double unitMs,
                                  SilenceStart silenceStart = SilenceStart::AtNearestStep);

} // namespace visemer
