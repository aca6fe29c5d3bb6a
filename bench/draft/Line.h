#pragma once

#include "voice/PassageSearch.h"

#include <string>
#include <vector>

namespace visemer::bench {

// One clip of the benchmark: its samples, its dialogue and, where the
// voice that spoke it reports them, the phones it spoke and when.
struct Line {
    std::string text;
    std::vector<short> samples;
    int rate = 16000;
    std::vector<TimedPhone> phones; // empty for recorded speech
    double lengthMs() const {
        return samples.empty() ? writtenMs : static_cast<double>(samples.size()) * 1000.0 / rate;
    }
    double writtenMs = 0; // the length once the samples are written out and let go
};

// Lines spoken one after another, after a lead-in of silence and with the
// pauses given between them in turn; the reference gains "SIL" for each.
Line joinLines(const std::vector<Line>& lines, double leadInMs,
               const std::vector<double>& pausesMs);

void writeWav(const std::string& path, const Line& line);

} // namespace visemer::bench
