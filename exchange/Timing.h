#pragma once

#include <string>
#include <vector>

namespace visemer {

// One frame row: its label and its delay, as texts exactly as a project
// file holds them.
struct TimingRow {
    std::string label;
    std::string delay;

    bool operator==(const TimingRow&) const = default;
};

// A timeline with its playback settings, as a project file holds it.
struct Timing {
    std::vector<TimingRow> rows;
    std::string fps = "30"; // the FPS entry's text; empty for none
    bool browser = true;    // "Browser" timing, else "Projector"
    std::string audio;
    bool reduced = false; // a ".mou" file: rows only

    bool operator==(const Timing&) const = default;
};

// A stretch of the clip shown with one label.
struct TimedLabel {
    double startMs = 0;
    double endMs = 0;
    std::string label;
    bool operator==(const TimedLabel&) const = default;
};

// Milliseconds one delay step lasts under the timing's settings, as the
// editor's preview counts it; 0 when the settings give no rate (no FPS
// entry, or one the editor does not list).
double delayUnitMs(const Timing& timing);

// Where each row starts and ends on the clip when the preview walks the
// rows at the given step length.
std::vector<TimedLabel> timeRows(const Timing& timing, double unitMs);

} // namespace visemer
