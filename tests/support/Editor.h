#pragma once

#include "app/Program.h"
#include "ids/Controls.h"
#include "tests/support/FakeMedia.h"
#include "tests/support/FakeToolkit.h"
#include "tests/support/WorkingFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace visemer::testing {

// The whole editor on the fake toolkit, started in a working folder of its
// own with the default images in place. Tests script the user's input on
// ui and run the event loop until it has all been handled.
class Editor : public ::testing::Test {
protected:
    void SetUp() override {
        media.clock = &clock;
        writeDefaultImages(folder.path());
        ASSERT_TRUE(program.start());
    }

    // Runs passes until the script is used up and nothing is pending.
    void settle() {
        while (!program.loop().quitting() && (ui.inputLeft() > 0 || ui.hasPendingEvent()))
            program.loop().runPass();
    }

    std::string cell(int row, int column) const {
        return ui.itemText(Control::Sequencer, row, column);
    }
    std::string label(int row) const { return cell(row, 1); }
    std::string delay(int row) const { return cell(row, 2); }
    int rows() const { return ui.itemCount(Control::Sequencer); }
    int selectedRow() const { return ui.getValue(Control::Sequencer); }
    std::string totalFrames() const { return ui.getText(Control::TotalFrames); }

    // The mouth-shape slot the preview shows, -1 for none.
    int shownShape() const {
        const Image shown = ui.control(Control::Preview)->image;
        for (int slot = 0; slot < 10; ++slot)
            if (!shown.isNull() && ui.imageOf(slot) == shown)
                return slot;
        return -1;
    }

    // Writes a row's cells directly, as an opened project would.
    void setRow(int row, const std::string& labelText, const std::string& delayText) {
        ui.setItemText(Control::Sequencer, row, labelText, 1);
        ui.setItemText(Control::Sequencer, row, delayText, 2);
    }

    WorkingFolder folder;
    FakeToolkit ui;
    FakeMediaPlayer media;
    FakeSteadyClock clock{ui};
    Program program{ui, media, clock};
};

} // namespace visemer::testing
