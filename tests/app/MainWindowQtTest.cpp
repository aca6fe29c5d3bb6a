// The real main window on the offscreen platform, driven by real key and
// mouse events through the event loop.

#include "app/Program.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "tests/support/FakeMedia.h"
#include "tests/support/WorkingFolder.h"
#include "toolkit/qt/ListViewControl.h"
#include "toolkit/qt/QtToolkit.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace visemer::testing {
namespace {

class MainWindowQt : public ::testing::Test {
protected:
    void SetUp() override {
        writeDefaultImages(folder_.path());
        ASSERT_TRUE(program_.start());
        QApplication::processEvents();
        settle();
    }

    void settle() {
        while (ui_.hasPendingEvent() && !program_.loop().quitting())
            program_.loop().runPass();
    }
    QWidget* focus() {
        QWidget* window = ui_.windowWidget(Window::Main);
        return window->focusWidget() ? window->focusWidget() : window;
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(focus(), key, modifiers);
        settle();
    }
    std::string cell(int row, int column) { return ui_.itemText(Control::Sequencer, row, column); }
    QAbstractItemView* sequencer() {
        return static_cast<ListViewControl*>(ui_.controlWidget(Control::Sequencer))->activeView();
    }

    WorkingFolder folder_;
    QtToolkit ui_;
    FakeMediaPlayer media_;
    SystemSteadyClock clock_;
    Program program_{ui_, media_, clock_};
};

TEST_F(MainWindowQt, StartsAsLaidOut) {
    EXPECT_EQ(ui_.itemCount(Control::Sequencer), 25);
    EXPECT_EQ(cell(24, 0), "25");
    EXPECT_EQ(ui_.getText(Control::TotalFrames), "25");
    EXPECT_EQ(ui_.getText(Control::FpsList), "30");
    EXPECT_EQ(ui_.getValue(Control::Browser), 1);
    EXPECT_EQ(ui_.getValue(Control::Sequencer), 0);
    EXPECT_EQ(ui_.controlRect(Control::Preview),
              (Rect{10, 20, testBitmapWidth(0) + 4, kTestBitmapHeight + 4}));
    const Rect inner = ui_.windowRect(Window::Main);
    EXPECT_EQ(inner.width, 530);
    EXPECT_EQ(inner.height, 260);
    QWidget* window = ui_.windowWidget(Window::Main);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Visemer"));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "not resizable";
    const QAction* saveAs = ui_.menuAction(kMainMenu, MenuId::SaveAs);
    ASSERT_NE(saveAs, nullptr);
    EXPECT_EQ(saveAs->text(), QStringLiteral("Save As..."));
    EXPECT_FALSE(saveAs->isChecked());
    EXPECT_EQ(ui_.menuAction(kMainMenu, MenuId::New)->text(),
              QStringLiteral("New               Ctrl+N"));
}

TEST_F(MainWindowQt, KeysEditTheSelectedRow) {
    key(Qt::Key_A);
    EXPECT_EQ(cell(0, 1), "A");
    EXPECT_EQ(cell(0, 2), "1");
    key(Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(cell(0, 2), "7");
    key(Qt::Key_7);
    EXPECT_EQ(cell(0, 2), "7") << "the main keyboard's 7 is no shortcut";
    key(Qt::Key_B, Qt::ShiftModifier);
    key(Qt::Key_B, Qt::ControlModifier);
    key(Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(cell(0, 1), "A") << "a letter with a modifier does nothing";

    QAbstractItemView* list = sequencer();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(3, 0)).center());
    settle();
    key(Qt::Key_Space);
    EXPECT_EQ(cell(3, 1), "Closed");
    key(Qt::Key_Insert);
    EXPECT_EQ(ui_.itemCount(Control::Sequencer), 26);
    EXPECT_EQ(ui_.getText(Control::TotalFrames), "26");
    key(Qt::Key_Delete);
    EXPECT_EQ(ui_.itemCount(Control::Sequencer), 25);
}

TEST_F(MainWindowQt, AboutDisablesAndGivesBackTheMainWindow) {
    ui_.menuAction(kMainMenu, MenuId::About)->trigger();
    settle();
    QWidget* about = ui_.windowWidget(Window::About);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About - Visemer"));
    EXPECT_FALSE(ui_.isWindowEnabled(Window::Main));
    QTest::keyClick(ui_.windowWidget(Window::Main), Qt::Key_Escape);
    settle();
    EXPECT_FALSE(program_.loop().quitting());

    about->close();
    settle();
    EXPECT_EQ(ui_.windowWidget(Window::About), nullptr);
    EXPECT_TRUE(ui_.isWindowEnabled(Window::Main));
    key(Qt::Key_Escape);
    EXPECT_TRUE(program_.loop().quitting());
}

// Turning the main window off for the About window moves Qt's keyboard
// focus along the controls; passing through the phoneme list must not
// count as picking a phoneme, which would blank the frame's label.
TEST_F(MainWindowQt, OpeningAboutLeavesTheFramesAlone) {
    QWidget* window = ui_.windowWidget(Window::Main);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    sequencer()->setFocus();
    key(Qt::Key_A);
    ASSERT_EQ(cell(0, 1), "A");

    ui_.menuAction(kMainMenu, MenuId::About)->trigger();
    settle();
    EXPECT_EQ(cell(0, 1), "A");
    EXPECT_EQ(cell(0, 2), "1");
}

TEST(MainWindowQtWithoutImages, PreviewKeepsItsSizeAndShowsNothing) {
    WorkingFolder folder;
    QtToolkit ui;
    FakeMediaPlayer media;
    SystemSteadyClock clock;
    Program program(ui, media, clock);
    ASSERT_TRUE(program.start());
    EXPECT_EQ(ui.controlRect(Control::Preview), (Rect{10, 20, 160, 160}));
}

} // namespace
} // namespace visemer::testing
