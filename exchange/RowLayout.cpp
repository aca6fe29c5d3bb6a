#include "exchange/RowLayout.h"

#include "exchange/Vocabulary.h"
#include "text/DecimalText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace visemer {
namespace {

struct Mark {
    std::int64_t step; // where the stretch starts, in whole steps
    std::string label;
};

constexpr const char* kClosed = "Closed";

std::int64_t stepsAt(double ms, double unitMs) {
    return static_cast<std::int64_t>(std::llround(std::max(0.0, ms) / unitMs));
}

std::int64_t stepsBefore(double ms, double unitMs) {
    return static_cast<std::int64_t>(std::floor(std::max(0.0, ms) / unitMs));
}

// The stretches as start marks, with "Closed" filling any gap. A mark
// never goes back before the one ahead of it.
std::vector<Mark> marksOf(const std::vector<TimedLabel>& stretches, double unitMs,
                          SilenceStart silenceStart) {
    std::vector<Mark> marks;
    const auto mark = [&](double ms, const std::string& label) {
        const bool voiceEnds = label == kClosed && !marks.empty() && marks.back().label != kClosed;
        const std::int64_t step = voiceEnds && silenceStart == SilenceStart::InStepVoiceEnds
                                      ? stepsBefore(ms, unitMs)
                                      : stepsAt(ms, unitMs);
        marks.push_back({marks.empty() ? step : std::max(step, marks.back().step), label});
    };
    double reached = 0;
    for (const TimedLabel& stretch : stretches) {
        if (stretch.startMs > reached + unitMs / 2)
            mark(reached, kClosed);
        mark(stretch.startMs, stretch.label);
        reached = std::max(reached, stretch.endMs);
    }
    if (!marks.empty())
        marks.push_back({std::max(stepsAt(reached, unitMs), marks.back().step + 1), ""});
    return marks;
}

// Lips pressing together for b, m or p are what an audience misses first,
// so such a stretch too short for a step of its own still gets one: the
// row after it gives up its first step when it has two, else the row
// before it gives up its last, else the rows after it start a step later.
void keepLipClosures(std::vector<Mark>& marks) {
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
        if (marks[i + 1].step > marks[i].step || !Vocabulary::closesLips(marks[i].label))
            continue;
        const auto length = [&](std::size_t row) { return marks[row + 1].step - marks[row].step; };
        if (i + 2 < marks.size() && length(i + 1) >= 2) {
            ++marks[i + 1].step;
        } else if (i > 0 && length(i - 1) >= 2) {
            --marks[i].step;
        } else {
            // Up to the first row that can spare a step, or to the end.
            std::size_t last = i + 1;
            while (last + 1 < marks.size() && length(last) < 2)
                ++last;
            for (std::size_t j = i + 1; j <= last; ++j)
                ++marks[j].step;
        }
    }
}

} // namespace

std::vector<TimingRow> layOutRows(const std::vector<TimedLabel>& stretches, double unitMs,
                                  SilenceStart silenceStart) {
    std::vector<TimingRow> rows;
    if (!(unitMs > 0))
        return rows;
    std::vector<Mark> marks = marksOf(stretches, unitMs, silenceStart);
    keepLipClosures(marks);
    std::vector<std::int64_t> lengths;
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
        const std::int64_t start = marks[i].step;
        const std::int64_t end = marks[i + 1].step;
        if (end == start)
            continue;
        if (!rows.empty() && rows.back().label == marks[i].label) {
            lengths.back() += end - start;
            continue;
        }
        rows.push_back({marks[i].label, ""});
        lengths.push_back(end - start);
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i].delay = writeDecimal(lengths[i]);
    return rows;
}

} // namespace visemer
