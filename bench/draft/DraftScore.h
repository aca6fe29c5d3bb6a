#pragma once

#include "bench/draft/Line.h"
#include "exchange/Timing.h"

#include <map>
#include <string>
#include <vector>

namespace visemer::bench {

// What a set of drafts scored, frame by frame at 30 fps.
struct DraftScore {
    long frames = 0, agreeing = 0;
    long ceilingAgreeing = 0; // the reference laid out as rows, on the same frames
    long changes = 0, changesWithinFrame = 0, changesWithin50Ms = 0;
    long ceilingChangesWithinFrame = 0; // of the reference laid out as rows
    long silentFrames = 0, silentClosed = 0;
    // Timed clips: the silent frames the reference laid out as rows draws
    // closed, and the silent frames drawn open by where their silence lies.
    long ceilingSilentClosed = 0;
    long openInLeadIn = 0, openInPause = 0, openInTail = 0;
    std::vector<std::pair<double, double>> openSilences; // where, in ms from the clip's start
    long voicedFrames = 0, voicedOpen = 0;
    long bilabials = 0, bilabialsClosed = 0;
    double voiceSeconds = 0, cpuSeconds = 0;
    int failures = 0;
    std::map<std::string, long> confusions; // "reference>draft" drawings

    // A clip with a phone reference: agreement, ceiling, changes, silence
    // (the reference's own silences that last at least one delay step of
    // `stepMs`; shorter ones no row can show) and closures of the lips.
    void addTimed(const Line& line, const std::vector<TimedLabel>& draft,
                  const std::vector<TimedLabel>& ceiling, double stepMs);
    // Recorded speech: silence and voice from the signal alone.
    void addRecorded(const Line& line, const std::vector<TimedLabel>& draft);

    static double share(long part, long whole) {
        return whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0;
    }
};

// The drawing shown at a moment, from stretches in time order.
char drawingAt(const std::vector<TimedLabel>& stretches, double ms);

} // namespace visemer::bench
