#include "exchange/RowLayout.h"

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

std::int64_t stepsAt(double ms, double unitMs) {
    return static_cast<std::int64_t>(std::llround(std::max(0.0, ms) / unitMs));
}

// The stretches as start marks, with "Closed" filling any gap. A mark
// never goes back before the one ahead of it.
std::vector<Mark> marksOf(const std::vector<TimedLabel>& stretches, double unitMs) {
    std::vector<Mark> marks;
    const auto mark = [&](double ms, const std::string& label) {
        const std::int64_t step = stepsAt(ms, unitMs);
        marks.push_back({marks.empty() ? step : std::max(step, marks.back().step), label});
    };
    double reached = 0;
    for (const TimedLabel& stretch : stretches) {
        if (stretch.startMs > reached + unitMs / 2)
            mark(reached, "Closed");
        mark(stretch.startMs, stretch.label);
        reached = std::max(reached, stretch.endMs);
    }
    if (!marks.empty())
        marks.push_back({std::max(stepsAt(reached, unitMs), marks.back().step + 1), ""});
    return marks;
}

} // namespace

std::vector<TimingRow> layOutRows(const std::vector<TimedLabel>& stretches, double unitMs) {
    std::vector<TimingRow> rows;
    if (!(unitMs > 0))
        return rows;
    const std::vector<Mark> marks = marksOf(stretches, unitMs);
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
