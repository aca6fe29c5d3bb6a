// The real main window on the offscreen platform, driven by real key and
// mouse events through the event loop.

#include "app/Program.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "tests/support/FakeMedia.h"
#include "tests/support/WorkingFolder.h"
#include "toolkit/qt/ListViewControl.h"
#include "toolkit/qt/QtToolkit.h"

#include "tests/support/ImageFiles.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <filesystem>
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

// Every caption is drawn whole inside its control at the window's font.
TEST_F(MainWindowQt, EveryCaptionFitsItsControl) {
    int measured = 0;
    for (int control = 0; control <= Control::Projector; ++control) {
        QWidget* widget = ui_.controlWidget(control);
        ASSERT_NE(widget, nullptr) << control;
        const QFontMetrics metrics(widget->font());
        if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            QStyleOptionButton style;
            style.initFrom(option);
            style.text = option->text();
            const QRect room =
                option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
            EXPECT_GE(room.width(), metrics.horizontalAdvance(option->text()))
                << option->text().toStdString();
            ++measured;
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(button->text()) + 4, button->width())
                << button->text().toStdString();
            ++measured;
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(label->text()), label->width())
                << label->text().toStdString();
            ++measured;
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_LE(metrics.horizontalAdvance(group->title()) + 8, group->width())
                << group->title().toStdString();
            ++measured;
        }
    }
    EXPECT_EQ(measured, 24) << "buttons 3 and 6 to 22, labels 4 and 20, three frames, two options";
}

// The frames-per-second list opens within the height the window gives it,
// box included, and scrolls for the entries that do not fit.
TEST_F(MainWindowQt, TheFpsListOpensWithinItsHeight) {
    auto* list = qobject_cast<QComboBox*>(ui_.controlWidget(Control::FpsList));
    ASSERT_NE(list, nullptr);
    ui_.windowWidget(Window::Main)->show();
    list->showPopup();
    QApplication::processEvents();
    QWidget* opened = list->view()->window();
    ASSERT_TRUE(opened->isVisible());
    EXPECT_LE(list->height() + opened->height(), 150);
    EXPECT_GE(opened->height(), 4 * list->view()->sizeHintForRow(0)) << "a few entries show";
    list->hidePopup();
}

TEST_F(MainWindowQt, HomeAndEndGoToTheFirstAndLastRow) {
    QWidget* window = ui_.windowWidget(Window::Main);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    sequencer()->setFocus();
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_End);
    EXPECT_EQ(ui_.getValue(Control::Sequencer), 24);
    key(Qt::Key_Home);
    EXPECT_EQ(ui_.getValue(Control::Sequencer), 0);
    key(Qt::Key_End);
    key(Qt::Key_A);
    EXPECT_EQ(cell(24, 1), "A") << "End makes the last row the current one";
}

// Icons missing or far larger than their place: every entry of the phoneme
// list still shows its label, with no picture drawn over it.
TEST(MainWindowQtWithOddIcons, EveryPhonemeKeepsItsLabel) {
    WorkingFolder folder;
    writeDefaultImages(folder.path());
    std::filesystem::remove(folder.file("images/S.ico"));
    writeIcon(folder.file("images/C.ico"), {128});
    QtToolkit ui;
    FakeMediaPlayer media;
    SystemSteadyClock clock;
    Program program(ui, media, clock);
    ASSERT_TRUE(program.start());
    auto* list = static_cast<ListViewControl*>(ui.controlWidget(Control::Phonemes));
    QAbstractItemView* view = list->activeView();
    ui.windowWidget(Window::Main)->show();
    QApplication::processEvents();

    const auto isInk = [](QRgb pixel) {
        return qRed(pixel) < 110 && qGreen(pixel) < 110 && qBlue(pixel) < 110;
    };
    // The test icons are drawn in green.
    const auto isIcon = [](QRgb pixel) {
        return qGreen(pixel) > 120 && qRed(pixel) < 90 && qBlue(pixel) < 90;
    };
    for (int row = 0; row < 30; ++row) {
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QApplication::processEvents();
        const QImage shown = view->viewport()->grab().toImage();
        const QRect cell = view->visualRect(index).intersected(shown.rect());
        int firstInk = -1;
        int lastIcon = -1;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QRgb pixel = shown.pixel(x, y);
                if (firstInk < 0 && isInk(pixel))
                    firstInk = y;
                if (isIcon(pixel))
                    lastIcon = y;
            }
        }
        const std::string label = ui.itemText(Control::Phonemes, row, 0);
        EXPECT_GE(firstInk, 0) << label << ": no label drawn";
        EXPECT_LT(lastIcon, firstInk) << label << ": the icon runs into its label";
        const bool usesMissingIcon = label == "CH" || label == "SH" || label == "D" ||
                                     label == "J" || label == "N" || label == "S" || label == "T" ||
                                     label == "Z";
        if (!usesMissingIcon) {
            EXPECT_GE(lastIcon, 0) << label << ": its icon is drawn";
        }
    }
    program.shutdown();
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
