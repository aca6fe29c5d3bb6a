// Timed labels laid out as rows of whole delay steps.

#include "exchange/RowLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace visemer {
namespace {

using Rows = std::vector<TimingRow>;

// Where each row starts, in steps, from the delays before it.
std::vector<long> startSteps(const Rows& rows) {
    std::vector<long> starts;
    long at = 0;
    for (const TimingRow& row : rows) {
        starts.push_back(at);
        at += std::stol(row.delay);
    }
    return starts;
}

TEST(RowLayout, RowsStartWithinHalfAStepOfTheirTimes) {
    const std::vector<TimedLabel> stretches{
        {0, 250, "A"}, {250, 420, "B"}, {420, 990, "E"}, {990, 1500, "Closed"}};
    const Rows rows = layOutRows(stretches, 100);
    EXPECT_EQ(rows, (Rows{{"A", "3"}, {"B", "1"}, {"E", "6"}, {"Closed", "5"}}));
    const auto starts = startSteps(rows);
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_LE(std::abs(starts[i] * 100.0 - stretches[i].startMs), 50) << "row " << i;
}

TEST(RowLayout, RoundingNeverAddsUpOverALongTimeline) {
    // 1000 stretches of 0.7 steps each: each row alone would round to 1.
    std::vector<TimedLabel> stretches;
    for (int i = 0; i < 1000; ++i)
        stretches.push_back({i * 50.0, (i + 1) * 50.0, i % 2 ? "A" : "O"});
    const Rows rows = layOutRows(stretches, 71.428571);
    long total = 0;
    for (const TimingRow& row : rows)
        total += std::stol(row.delay);
    EXPECT_EQ(total, std::lround(50000 / 71.428571));
}

TEST(RowLayout, ShortStretchesAreLeftOutAndTheirNeighboursJoined) {
    const Rows rows = layOutRows({{0, 100, "A"}, {100, 130, "E"}, {130, 300, "A"}}, 100);
    EXPECT_EQ(rows, (Rows{{"A", "3"}}));
}

TEST(RowLayout, ALipClosureTooShortForAStepStillGetsOne) {
    // The row after it gives a step when it has two to give...
    EXPECT_EQ(layOutRows({{0, 300, "A"}, {300, 330, "P"}, {330, 700, "E"}}, 100),
              (Rows{{"A", "3"}, {"P", "1"}, {"E", "3"}}));
    // ...else the row before it...
    EXPECT_EQ(layOutRows({{0, 300, "A"}, {300, 330, "B"}, {330, 400, "E"}}, 100),
              (Rows{{"A", "2"}, {"B", "1"}, {"E", "1"}}));
    // ...else everything after it moves on a step.
    EXPECT_EQ(layOutRows({{0, 100, "A"}, {100, 130, "M"}, {130, 200, "E"}, {200, 300, "O"}}, 100),
              (Rows{{"A", "1"}, {"M", "1"}, {"E", "1"}, {"O", "1"}}));
    // Other short stretches still give way.
    EXPECT_EQ(layOutRows({{0, 300, "A"}, {300, 330, "T"}, {330, 700, "E"}}, 100),
              (Rows{{"A", "3"}, {"E", "4"}}));
}

TEST(RowLayout, SilenceBeforeAndBetweenStretchesShowsTheClosedMouth) {
    const Rows rows = layOutRows({{500, 700, "O"}, {1200, 1400, "M"}}, 100);
    EXPECT_EQ(rows, (Rows{{"Closed", "5"}, {"O", "2"}, {"Closed", "5"}, {"M", "2"}}));
}

TEST(RowLayout, ASilenceAfterTheVoiceMayStartInTheStepTheVoiceEnds) {
    // The voice stops 0.4 of a step into a step, or 0.6: at the nearest
    // step the mouth stays open into the silence the second time; laid out
    // for a draft it closes in the step the voice ends in, both times.
    // Where the voice starts again nothing changes.
    const std::vector<TimedLabel> early{{0, 240, "A"}, {240, 560, "Closed"}, {560, 900, "O"}};
    const std::vector<TimedLabel> late{{0, 260, "A"}, {260, 560, "Closed"}, {560, 900, "O"}};
    EXPECT_EQ(layOutRows(early, 100), (Rows{{"A", "2"}, {"Closed", "4"}, {"O", "3"}}));
    EXPECT_EQ(layOutRows(late, 100), (Rows{{"A", "3"}, {"Closed", "3"}, {"O", "3"}}));
    for (const auto& stretches : {early, late})
        EXPECT_EQ(layOutRows(stretches, 100, SilenceStart::InStepVoiceEnds),
                  (Rows{{"A", "2"}, {"Closed", "4"}, {"O", "3"}}));
    // A gap between stretches is a silence too.
    EXPECT_EQ(layOutRows({{0, 260, "A"}, {560, 900, "O"}}, 100, SilenceStart::InStepVoiceEnds),
              (Rows{{"A", "2"}, {"Closed", "4"}, {"O", "3"}}));
}

TEST(RowLayout, TheLastStretchKeepsAStepAndNothingComesOfNoRate) {
    EXPECT_EQ(layOutRows({{0, 300, "A"}, {300, 300, "Closed"}}, 100),
              (Rows{{"A", "3"}, {"Closed", "1"}}));
    EXPECT_TRUE(layOutRows({{0, 300, "A"}}, 0).empty());
    EXPECT_TRUE(layOutRows({}, 100).empty());
}

TEST(RowLayout, OverlappingStretchesNeverMakeARowStartEarlier) {
    const Rows rows = layOutRows({{0, 500, "A"}, {300, 400, "E"}, {200, 800, "O"}}, 100);
    const auto starts = startSteps(rows);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_GT(starts[i], starts[i - 1]);
}

} // namespace
} // namespace visemer
