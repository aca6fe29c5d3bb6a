// A project saved and opened again through the real main window and Qt's
// own file requester, on the offscreen platform.

#include "app/Program.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "tests/support/FakeMedia.h"
#include "tests/support/Files.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/QtRequesters.h"
#include "tests/support/WorkingFolder.h"
#include "toolkit/qt/QtToolkit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace visemer::testing {
namespace {

class RoundTripQt : public ::testing::Test {
protected:
    void SetUp() override {
        writeDefaultImages(folder_.path());
        ASSERT_TRUE(program_.start());
        settle();
    }
    void settle() {
        QApplication::processEvents();
        while (ui_.hasPendingEvent())
            program_.loop().runPass();
    }
    void choose(int identifier) {
        ui_.menuAction(kMainMenu, identifier)->trigger();
        settle();
    }

    WorkingFolder folder_;
    QtToolkit ui_;
    FakeMediaPlayer media_;
    SystemSteadyClock clock_;
    Program program_{ui_, media_, clock_};
};

TEST_F(RoundTripQt, SavedFramesComeBack) {
    while (ui_.itemCount(Control::Sequencer) > 3)
        ui_.removeItem(Control::Sequencer, ui_.itemCount(Control::Sequencer) - 1);
    ui_.setItemText(Control::Sequencer, 0, "A", 1);
    ui_.setItemText(Control::Sequencer, 0, "2", 2);
    ui_.setItemText(Control::Sequencer, 1, "Closed", 1);
    ui_.setItemText(Control::Sequencer, 2, "TH", 1);
    ui_.setItemText(Control::Sequencer, 2, "1", 2);
    writeBytes(folder_.file("~AUD"), "/voice/take1.wav");
    media_.playable.insert("/voice/take1.wav");

    answerRequester(QString::fromStdString(folder_.file("three")));
    choose(MenuId::SaveAs);
    EXPECT_EQ(readWholeFile(folder_.file("three.vsq")), goldenFile("three-rows.vsq"));
    EXPECT_EQ(ui_.itemCount(Control::Sequencer), 3);
    EXPECT_TRUE(ui_.menuAction(kMainMenu, MenuId::SaveAs)->isChecked());

    answerRequester(QString::fromStdString(folder_.file("three.as")));
    choose(MenuId::ExportScript);
    EXPECT_EQ(readWholeFile(folder_.file("three.as")), goldenFile("three-rows.as"));

    for (int row = 0; row < 3; ++row)
        ui_.setItemText(Control::Sequencer, row, "", 1);
    answerRequester(QString::fromStdString(folder_.file("three.vsq")));
    choose(MenuId::Open);
    ASSERT_EQ(ui_.itemCount(Control::Sequencer), 3);
    EXPECT_EQ(ui_.itemText(Control::Sequencer, 0, 1), "A");
    EXPECT_EQ(ui_.itemText(Control::Sequencer, 1, 1), "Closed");
    EXPECT_EQ(ui_.itemText(Control::Sequencer, 2, 2), "1");
    EXPECT_EQ(ui_.getText(Control::TotalFrames), "3");
    EXPECT_EQ(program_.audio().path, "/voice/take1.wav");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), folder_.file("three.vsq"));
}

} // namespace
} // namespace visemer::testing
