// The preview walk on the fake toolkit, media player and clock.

#include "media/Preview.h"
#include "ids/MenuIds.h"
#include "media/PreviewClock.h"
#include "tests/support/Editor.h"

#include "timeline/PlaybackRate.h"

#include <cmath>

namespace visemer::testing {
namespace {

class PreviewWalk : public Editor {
protected:
    void SetUp() override {
        Editor::SetUp();
        media.playable.insert("/voice/take1.wav");
        program.audio().path = "/voice/take1.wav";
    }
    void play() {
        ui.pressKey(Key::Enter);
        settle();
    }
    void keepRows(int count) {
        while (rows() > count)
            ui.removeItem(Control::Sequencer, rows() - 1);
    }
    // When each shape goes up, in ms since the clip was asked to play.
    std::vector<double> shownAt;
    void watchShapes() {
        ui.onPicture = [this](int control) {
            if (control == Control::Preview && media.plays > 0)
                shownAt.push_back(sincePlay());
        };
    }
    double sincePlay() { return clock.nowMs() - media.playedAt; }
    std::vector<int> sleepsOver(int threshold = 0) const {
        std::vector<int> long_;
        for (int sleep : ui.sleeps())
            if (sleep > threshold)
                long_.push_back(sleep);
        return long_;
    }
};

TEST_F(PreviewWalk, DelayUnitsFollowTheRateAndTheTimingOption) {
    struct Case {
        int fps, adjustment;
        std::vector<int> waits;
    } cases[] = {
        {30, -2, {71, 143, 214}}, {30, 0, {67, 133, 200}},   {24, 0, {83, 167, 250}},
        {24, -2, {91, 182, 273}}, {12, -2, {200, 400, 600}}, {13, -2, {182, 364, 545}},
    };
    for (const auto& c : cases) {
        const float unit = PlaybackRate::delayUnit(c.fps, c.adjustment);
        for (int delay = 1; delay <= 3; ++delay)
            EXPECT_EQ(std::nearbyint(PlaybackRate::stepMs(delay, unit)), c.waits[delay - 1])
                << c.fps << " fps, adjustment " << c.adjustment << ", delay " << delay;
    }
    EXPECT_EQ(PlaybackRate::stepMs(5, PlaybackRate::delayUnit(0, -2)), 0.0) << "a rate below zero";
    EXPECT_EQ(PlaybackRate::stepMs(5, PlaybackRate::delayUnit(2, -2)), 0.0) << "a rate of zero";
    EXPECT_EQ(PlaybackRate::stepMs(-3, PlaybackRate::delayUnit(30, -2)), 0.0) << "a negative delay";
}

TEST_F(PreviewWalk, EachRowIsDueWhereTheDelaysBeforeItPutIt) {
    keepRows(3);
    setRow(0, "A", "1");
    setRow(1, "O", "2");
    setRow(2, "E", "3");
    std::vector<int> shownAtSleep;
    ui.onSleep = [&](int) { shownAtSleep.push_back(shownShape()); };
    watchShapes();
    play();
    // Due at 71, round(3 x 71.43) = 214 and round(6 x 71.43) = 429 ms.
    ASSERT_GE(shownAt.size(), 3u);
    EXPECT_NEAR(shownAt[1], 71, 0.01);
    EXPECT_NEAR(shownAt[2], 214, 0.01);
    EXPECT_NEAR(sincePlay(), 429, 0.01) << "the last row's wait";
    EXPECT_EQ(ui.sleeps().size(), 3u) << "one sleep a row";
    EXPECT_EQ(shownAtSleep, (std::vector<int>{0, 6, 3}));
    EXPECT_EQ(media.calls, (std::vector<std::string>{"init", "load /voice/take1.wav", "play 0"}));
    EXPECT_EQ(rows(), 3) << "the sentinel row is gone";
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(shownShape(), 0) << "the next pass made the first row current and shows it";
    EXPECT_EQ(program.timeline().currentRow(), 0);
}

TEST_F(PreviewWalk, TimeSpentBetweenRowsDoesNotPileUp) {
    keepRows(4);
    for (int row = 0; row < 4; ++row)
        setRow(row, "A", "1");
    // Every sleep overruns by 3 ms, as a busy machine's would.
    ui.onSleep = [&](int) { clock.extraMs += 3; };
    watchShapes();
    play();
    // Due at 71, 143, 214, 286 ms: each wait ends near its due time,
    // however late the one before it ended.
    const double due[] = {0, 71, 143, 214};
    ASSERT_GE(shownAt.size(), 4u);
    for (std::size_t row = 1; row < 4; ++row) {
        EXPECT_GE(shownAt[row], due[row]) << "row " << row;
        EXPECT_LE(shownAt[row], due[row] + 3) << "row " << row;
    }
    EXPECT_GE(sincePlay(), 286);
    EXPECT_LE(sincePlay(), 286 + 3);
}

TEST_F(PreviewWalk, HighlightStandsOnTheNextRowDuringEachWait) {
    setRow(24, "Z", "2");
    std::vector<int> highlighted;
    ui.onSleep = [&](int) { highlighted.push_back(selectedRow()); };
    play();
    ASSERT_EQ(highlighted.size(), 1u) << "only the last row has a delay";
    EXPECT_EQ(highlighted[0], 25) << "the sentinel row during the last row's wait";
    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(cell(24, 0), "25");
}

TEST_F(PreviewWalk, EachShapeIsShownBeforeTheHighlightMovesAndTheListIsDrawnBeforeItsWait) {
    keepRows(3);
    for (int row = 0; row < 3; ++row)
        setRow(row, row % 2 ? "O" : "A", "1");
    std::vector<int> highlightedAtPicture;
    std::vector<int> flushesAtSleep;
    ui.onPicture = [&](int control) {
        if (control == Control::Preview && media.plays > 0)
            highlightedAtPicture.push_back(selectedRow());
    };
    ui.onSleep = [&](int) { flushesAtSleep.push_back(ui.paintFlushes()); };
    play();
    // Showing a picture paints the whole window in Qt, a list whose
    // highlight has just moved included.
    EXPECT_EQ(highlightedAtPicture, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(flushesAtSleep, (std::vector<int>{1, 2, 3}));
}

TEST_F(PreviewWalk, TheSentinelRowIsNumberedAfterTheLastFrame) {
    std::string sentinel;
    setRow(0, "A", "1");
    ui.onSleep = [&](int) { sentinel = cell(25, 0); };
    play();
    EXPECT_EQ(sentinel, "26");
}

TEST_F(PreviewWalk, UnknownAndMiscasedLabelsKeepThePreviousShape) {
    keepRows(4);
    setRow(0, "O", "1");
    setRow(1, "closed", "1");
    setRow(2, "", "1");
    setRow(3, "Xylophone", "1");
    std::vector<int> shown;
    ui.onSleep = [&](int) { shown.push_back(shownShape()); };
    play();
    EXPECT_EQ(shown, (std::vector<int>{6, 6, 6, 6}));
    EXPECT_EQ(ui.sleeps().size(), 4u) << "their waits still apply";
}

TEST_F(PreviewWalk, RowsWithoutAUsableDelayWaitNothing) {
    keepRows(5);
    setRow(0, "A", "");
    setRow(1, "B", "0");
    setRow(2, "E", "abc");
    setRow(3, "F", "-4");
    setRow(4, "L", "1");
    play();
    EXPECT_EQ(ui.sleeps().size(), 1u);
    EXPECT_NEAR(sincePlay(), 71, 0.01) << "only the last row waits";
}

TEST_F(PreviewWalk, ARateThatIsNotPositiveGivesNoWaits) {
    setRow(0, "A", "5");
    ui.setText(Control::FpsList, "");
    play();
    EXPECT_TRUE(sleepsOver().empty());
    EXPECT_EQ(rows(), 25);
}

TEST_F(PreviewWalk, AnEmptyTimelineRunsOneStepAndStillPlays) {
    keepRows(0);
    play();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(media.plays, 1);
    EXPECT_TRUE(sleepsOver().empty());
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(PreviewWalk, WithoutAClipEnterAndPlayEachSayTheirOwnMessage) {
    program.audio().path.clear();
    ui.clickRow(Control::Sequencer, 5);
    ui.pressKey(Key::Enter);
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "Play");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Please select an audio file.");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x1010);
    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(selectedRow(), 0) << "row 0 was selected before the load";
    EXPECT_EQ(program.timeline().currentRow(), 0);

    program.audio().path = "/voice/missing.wav";
    ui.click(Control::PlayButton);
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    EXPECT_EQ(ui.messageBoxes()[1].title, "Stop");
    EXPECT_EQ(ui.messageBoxes()[1].text, "Please open an audio file before playing.");
    EXPECT_EQ(ui.messageBoxes()[1].flags, 0x10);
    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(media.plays, 0);
}

TEST_F(PreviewWalk, TheFirstShapeWaitsForTheClipToStart) {
    keepRows(3);
    settle(); // the first row, still empty, is current and on view
    setRow(0, "O", "1");
    setRow(1, "A", "2");
    setRow(2, "E", "3");
    media.startLatencyMs = 30;
    watchShapes();
    play();
    // The clip is watched, not slept on, while it starts; then the rows
    // follow on the clip's time.
    EXPECT_EQ(ui.sleeps().size(), 3u);
    ASSERT_GE(shownAt.size(), 3u);
    EXPECT_GE(shownAt[0], 30) << "row 1's shape waits for the sound";
    EXPECT_LE(shownAt[0], 30 + PreviewClock::kStartLookMs);
    EXPECT_NEAR(shownAt[1], 30 + 71, 0.01);
    EXPECT_NEAR(shownAt[2], 30 + 214, 0.01);
}

TEST_F(PreviewWalk, AClipThatNeverStartsHoldsTheWalkBackAQuarterSecondAtMost) {
    keepRows(3);
    setRow(0, "A", "1");
    setRow(1, "O", "2");
    setRow(2, "E", "3");
    media.startLatencyMs = 60000;
    play();
    EXPECT_EQ(ui.sleeps().size(), 3u);
    EXPECT_NEAR(clock.nowMs(), 250 + 429, 1);
}

// A clip of one second under 25 rows of 71.43 ms: however the clip shows
// its end, the rows after it keep their time on the steady clock.
TEST_F(PreviewWalk, RowsAfterTheClipsEndKeepTheirTime) {
    using Ending = FakeMediaPlayer::Ending;
    const double unit = PlaybackRate::stepMs(1, PlaybackRate::delayUnit(30, -2));
    for (const Ending ending : {Ending::PositionGone, Ending::FrozenBelowEnd, Ending::StuckAtEnd}) {
        for (int row = 0; row < 25; ++row)
            setRow(row, "A", "1");
        media.durationMs = 1000;
        media.ending = ending;
        const double startedAt = clock.nowMs();
        const std::size_t sleepsBefore = ui.sleeps().size();
        play();
        const std::vector<int> sleeps(ui.sleeps().begin() + static_cast<long>(sleepsBefore),
                                      ui.sleeps().end());
        for (int sleep : sleeps)
            EXPECT_LE(sleep, unit + 12) << "ending " << static_cast<int>(ending);
        EXPECT_NEAR(clock.nowMs() - startedAt, 25 * unit, 12)
            << "ending " << static_cast<int>(ending);
        EXPECT_EQ(rows(), 25);
    }
}

// Rows of delay 1 at 30 fps under "Browser", due every 71.43 ms: where
// the k-th falls on the clip.
double dueOf(int row) {
    return std::nearbyint(row * PlaybackRate::stepMs(1, PlaybackRate::delayUnit(30, -2)));
}

// A thread woken while the processors are busy waits its turn: a sleep
// that ends a millisecond late must not make the shape late.
TEST_F(PreviewWalk, ASleepThatEndsAMillisecondLateStillShowsTheShapeOnTime) {
    keepRows(8);
    for (int row = 0; row < 8; ++row)
        setRow(row, row % 2 ? "O" : "A", "1");
    ui.onSleep = [&](int) { clock.extraMs += 1; };
    watchShapes();
    play();
    ASSERT_GE(shownAt.size(), 8u);
    for (int row = 1; row < 8; ++row)
        EXPECT_NEAR(shownAt[static_cast<std::size_t>(row)], dueOf(row), 0.01) << "row " << row;
}

TEST_F(PreviewWalk, EachShapeIsShownAheadByWhatPaintingOneTakes) {
    keepRows(16);
    for (int row = 0; row < 16; ++row)
        setRow(row, row % 2 ? "O" : "A", "1");
    // The window takes 2 ms to put each picture on screen.
    std::vector<double> onScreenAt;
    ui.onPicture = [&](int control) {
        if (control != Control::Preview)
            return;
        clock.extraMs += 2;
        if (media.plays > 0)
            onScreenAt.push_back(clock.nowMs() - media.playedAt);
    };
    play();
    ASSERT_GE(onScreenAt.size(), 16u);
    for (int row = 1; row < 16; ++row) {
        const double error = onScreenAt[static_cast<std::size_t>(row)] - dueOf(row);
        EXPECT_LE(error, 2.0) << "row " << row << " is never later than unlearnt";
        EXPECT_GE(error, -0.01) << "row " << row << " is never early";
        if (row >= 12) {
            EXPECT_NEAR(error, 0, 0.1) << "row " << row << " once the walk has learnt it";
        }
    }
    EXPECT_GT(clock.waitedMs, 0) << "the fractions of a millisecond are waited too";
}

TEST_F(PreviewWalk, AClipPositionLateInComingKeepsTheWalkOnTheClip) {
    keepRows(25);
    for (int row = 0; row < 25; ++row)
        setRow(row, row % 2 ? "O" : "A", "1");
    // A sound card half a percent fast or a fifth of a percent slow (a real
    // one is within a hundredth), and one answer late: the walk follows the
    // clip, not the steady clock, and not the late answer, whether it is
    // late by more than a stalled clip's lag or by less.
    for (const double pace : {1.005, 0.998}) {
        for (const double lateBy : {15.0, 6.0}) {
            media.pace = pace;
            media.queries = 0;
            media.lateQuery = 10;
            media.lateByMs = lateBy;
            std::vector<double> clipAt;
            ui.onPicture = [&](int control) {
                if (control == Control::Preview && media.plays > 0)
                    clipAt.push_back((clock.nowMs() - media.playedAt) * media.pace);
            };
            play();
            ASSERT_GE(clipAt.size(), 25u);
            for (int row = 0; row < 25; ++row)
                EXPECT_NEAR(clipAt[static_cast<std::size_t>(row)], dueOf(row), 1.0)
                    << "row " << row << ", pace " << pace << ", late by " << lateBy;
        }
    }
}

// The real player's position query waits on the player's own threads and
// has been seen to take 28 ms. Each shape must still reach the screen on
// time: a query made with time to spare costs nothing, one made at the
// due moment makes the shape that late.
TEST_F(PreviewWalk, APositionQueryHeldUpByThePlayerDoesNotMakeTheShapeLate) {
    keepRows(16);
    for (int row = 0; row < 16; ++row)
        setRow(row, row % 2 ? "O" : "A", "1");
    media.whileAsked = [&] {
        if (media.plays > 0)
            clock.extraMs += 20;
    };
    std::vector<double> clipAt;
    ui.onPicture = [&](int control) {
        if (control == Control::Preview && media.plays > 0)
            clipAt.push_back(clock.nowMs() - media.playedAt);
    };
    play();
    ASSERT_GE(clipAt.size(), 16u);
    for (int row = 1; row < 16; ++row)
        EXPECT_NEAR(clipAt[static_cast<std::size_t>(row)], dueOf(row), 1.0) << "row " << row;
}

TEST_F(PreviewWalk, AHugeDelayHoldsItsRowForAnHourAtMost) {
    keepRows(3);
    setRow(0, "A", "40000000");
    setRow(1, "O", "30000000");
    setRow(2, "E", "1");
    watchShapes();
    play();
    ASSERT_GE(shownAt.size(), 3u);
    EXPECT_NEAR(shownAt[1], 3600000, 0.01);
    EXPECT_NEAR(shownAt[2], 7200000, 0.01);
    EXPECT_NEAR(sincePlay(), 7200071, 0.01);
}

TEST_F(PreviewWalk, AKeyPressedDuringThePreviewActsAfterIt) {
    keepRows(2);
    setRow(0, "A", "1");
    setRow(1, "O", "1");
    ui.pressKey(Key::Enter);
    ui.pressKey('E');
    settle();
    EXPECT_EQ(label(0), "E") << "the first row was current again when the key was handled";
    EXPECT_EQ(label(1), "O");
}

} // namespace
} // namespace visemer::testing
