// The timeline's commands driven as the user drives them: keys, list clicks
// and panel buttons through the event loop.

#include "ids/MenuIds.h"
#include "tests/support/Editor.h"
#include "timeline/PhonemeTable.h"
#include "timeline/PlaybackSettings.h"

namespace visemer::testing {
namespace {

constexpr int kNumpad(int digit) {
    return Key::Numpad1 + digit - 1;
}

class TimelineCommands : public Editor {};

TEST_F(TimelineCommands, EveryKeyAssignsItsLabelAndShowsItsShape) {
    for (const Phoneme& phoneme : PhonemeTable::all()) {
        if (phoneme.key == 0)
            continue;
        ui.pressKey(phoneme.key);
        settle();
        EXPECT_EQ(label(0), phoneme.label);
        EXPECT_EQ(shownShape(), phoneme.shapeSlot) << phoneme.label;
    }
    EXPECT_EQ(delay(0), "1");
    EXPECT_EQ(selectedRow(), 0) << "assigning a label never moves the selection";
}

TEST_F(TimelineCommands, CUsesTheRDrawingAndSpaceTheClosedMouth) {
    ui.pressKey('C');
    settle();
    EXPECT_EQ(label(0), "C");
    EXPECT_EQ(shownShape(), 8);
    ui.pressKey(Key::Space);
    settle();
    EXPECT_EQ(label(0), "Closed");
    EXPECT_EQ(shownShape(), 2);
}

TEST_F(TimelineCommands, ALabelFillsOnlyAnEmptyDelay) {
    setRow(3, "", "5");
    setRow(4, "", "0");
    setRow(5, "", "x");
    for (int row = 2; row <= 5; ++row) {
        ui.clickRow(Control::Sequencer, row);
        ui.pressKey('A');
    }
    settle();
    EXPECT_EQ(delay(2), "1");
    EXPECT_EQ(delay(3), "5");
    EXPECT_EQ(delay(4), "0");
    EXPECT_EQ(delay(5), "x");
    EXPECT_EQ(label(5), "A");
    EXPECT_EQ(selectedRow(), 5);
}

TEST_F(TimelineCommands, NumberPadDigitsOverwriteTheDelay) {
    setRow(0, "", "3");
    ui.pressKey('B');
    ui.pressKey(Key::Numpad1 + 6);
    settle();
    EXPECT_EQ(delay(0), "7");
    EXPECT_EQ(shownShape(), 1) << "a delay leaves the preview alone";

    ui.clickRow(Control::Sequencer, 1);
    ui.pressKey(kNumpad(9));
    settle();
    EXPECT_EQ(delay(1), "9");
    EXPECT_EQ(label(1), "") << "a delay needs no label";
}

TEST_F(TimelineCommands, StepsTheDelayUpAndDown) {
    struct Case {
        const char* before;
        const char* down;
        const char* up;
    } cases[] = {
        {"", "1", "1"},
        {"abc", "1", "1"},
        {"0", "1", "1"},
        {"1", "1", "2"},
        {"2", "1", "3"},
        {"12", "11", "13"},
        {"99", "98", "100"},
        {" 7x", "6", "8"},
        {"-1", "-2", "0"},
        {"-5", "-6", "-4"},
        {"2147483647", "2147483646", "2147483647"},
        {"-2147483648", "-2147483648", "-2147483647"},
    };
    for (const auto& c : cases) {
        setRow(0, "", c.before);
        ui.pressKey(Key::NumpadMinus);
        settle();
        EXPECT_EQ(delay(0), c.down) << "number-pad - on \"" << c.before << '"';
        setRow(0, "", c.before);
        ui.click(Control::DelayDown);
        settle();
        EXPECT_EQ(delay(0), c.down) << "button - on \"" << c.before << '"';

        setRow(0, "", c.before);
        ui.pressKey(Key::NumpadPlus);
        settle();
        EXPECT_EQ(delay(0), c.up) << "number-pad + on \"" << c.before << '"';
        setRow(0, "", c.before);
        ui.click(Control::DelayUp);
        settle();
        EXPECT_EQ(delay(0), c.up) << "button + on \"" << c.before << '"';
    }
}

TEST_F(TimelineCommands, DelayPadButtonsWriteTheirCaption) {
    setRow(0, "", "3");
    for (int button = Control::FirstDelayButton; button <= Control::LastDelayButton; ++button) {
        ui.click(button);
        settle();
        EXPECT_EQ(delay(0), std::to_string(button - 5));
    }
    EXPECT_EQ(label(0), "") << "the pad leaves the label alone";
    EXPECT_EQ(shownShape(), 0);
}

TEST_F(TimelineCommands, InsertAndPlusAppendAtTheEnd) {
    ui.clickRow(Control::Sequencer, 3);
    ui.pressKey(Key::Insert);
    settle();
    EXPECT_EQ(rows(), 26);
    EXPECT_EQ(cell(25, 0), "26");
    EXPECT_EQ(label(25), "");
    EXPECT_EQ(delay(25), "");
    EXPECT_EQ(totalFrames(), "26");
    EXPECT_EQ(selectedRow(), 3) << "the selection stays";

    ui.click(Control::FramesUp);
    ui.pressKey('O');
    settle();
    EXPECT_EQ(cell(26, 0), "27");
    EXPECT_EQ(totalFrames(), "27");
    EXPECT_EQ(label(3), "O") << "the current row stays";
}

TEST_F(TimelineCommands, DeleteKeepsTwoRows) {
    for (int press = 0; press < 22; ++press)
        ui.pressKey(Key::Delete);
    settle();
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(totalFrames(), "3");
    setRow(0, "O", "1");
    setRow(1, "E", "4");

    ui.pressKey(Key::Delete);
    settle();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(cell(1, 0), "2");
    EXPECT_EQ(totalFrames(), "2");

    ui.clickRow(Control::Sequencer, 1);
    ui.pressKey('A');
    settle();
    ui.click(Control::FramesDown);
    settle();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(cell(1, 0), "2");
    EXPECT_EQ(label(1), "") << "the second row comes back empty";
    EXPECT_EQ(delay(1), "");
    EXPECT_EQ(totalFrames(), "2");
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(shownShape(), 6) << "the first row became current and shows its shape";
    ui.pressKey(kNumpad(5));
    settle();
    EXPECT_EQ(delay(0), "5");
}

TEST_F(TimelineCommands, AfterDeletingTheSelectedLastRowLettersOnlyChangeThePreview) {
    ui.clickRow(Control::Sequencer, 24);
    ui.pressKey(Key::Delete);
    ui.pressKey('O');
    settle();
    EXPECT_EQ(rows(), 24);
    EXPECT_EQ(selectedRow(), -1);
    EXPECT_EQ(shownShape(), 6);
    for (int row = 0; row < rows(); ++row)
        EXPECT_EQ(label(row), "") << row;
    ui.pressKey(kNumpad(3));
    ui.pressKey(Key::NumpadPlus);
    settle();
    for (int row = 0; row < rows(); ++row)
        EXPECT_EQ(delay(row), "") << row;

    ui.clickRow(Control::Sequencer, 23);
    ui.pressKey('O');
    settle();
    EXPECT_EQ(label(23), "O");
}

TEST_F(TimelineCommands, DeleteBelowTwoRowsNeverShowsANegativeCount) {
    while (rows() > 1)
        ui.removeItem(Control::Sequencer, rows() - 1);
    ui.pressKey(Key::Delete);
    settle();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(totalFrames(), "0");
    ui.pressKey(Key::Delete);
    ui.pressKey('A');
    ui.pressKey(kNumpad(2));
    settle();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(totalFrames(), "0");
    ui.pressKey(Key::Insert);
    settle();
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(totalFrames(), "1");
}

TEST_F(TimelineCommands, ClickingARowMakesItCurrentAndShowsItsShape) {
    setRow(2, "E", "1");
    setRow(4, "not a label", "1");
    setRow(5, "closed", "1");
    ui.clickRow(Control::Sequencer, 2);
    settle();
    EXPECT_EQ(shownShape(), 3);
    for (int row : {3, 4, 5}) {
        ui.clickRow(Control::Sequencer, row, ClickType::Right);
        settle();
        EXPECT_EQ(shownShape(), 3) << "row " << row << " has no shape of its own";
    }
    ui.pressKey(kNumpad(4));
    settle();
    EXPECT_EQ(delay(5), "4") << "the clicked row became current";
    EXPECT_EQ(label(5), "closed");
}

TEST_F(TimelineCommands, PickingPhonemesFromTheList) {
    ui.clickRow(Control::Phonemes, 3); // "TH"
    settle();
    EXPECT_EQ(label(0), "TH");
    EXPECT_EQ(delay(0), "1");
    EXPECT_EQ(shownShape(), 5);

    ui.clickRow(Control::Sequencer, 1);
    ui.clickRow(Control::Phonemes, 4);      // "A"
    ui.ctrlClickRow(Control::Phonemes, 18); // and "O"
    settle();
    EXPECT_EQ(label(1), "A") << "the lowest selected phoneme is written";
    EXPECT_EQ(shownShape(), 6) << "the last one in list order is shown";

    ui.clickListBackground(Control::Phonemes);
    settle();
    EXPECT_EQ(label(1), "") << "a click on the background clears the label";
    EXPECT_EQ(delay(1), "1");
    EXPECT_EQ(shownShape(), 6);
    EXPECT_EQ(ui.getValue(Control::Phonemes), -1);
}

TEST_F(TimelineCommands, PlaybackSettingsFollowTheirControls) {
    EXPECT_EQ(PlaybackSettings::fpsText(ui), "30");
    EXPECT_EQ(PlaybackSettings::framesPerSecond(ui), 30);
    EXPECT_EQ(PlaybackSettings::timingAdjustment(ui), -2);
    ui.pickEntry(Control::FpsList, 12);
    ui.click(Control::Projector);
    settle();
    EXPECT_EQ(PlaybackSettings::framesPerSecond(ui), 24);
    EXPECT_EQ(PlaybackSettings::timingAdjustment(ui), 0);
    EXPECT_EQ(ui.getValue(Control::Browser), 0);
    ui.setText(Control::FpsList, "");
    EXPECT_EQ(PlaybackSettings::fpsText(ui), "");
    EXPECT_EQ(PlaybackSettings::framesPerSecond(ui), 0);
}

} // namespace
} // namespace visemer::testing
