// The Qt toolkit under real key and mouse events.

#include "toolkit/qt/QtToolkit.h"

#include "tests/support/ImageFiles.h"
#include "tests/support/QtRequesters.h"
#include "tests/support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include "toolkit/qt/ListViewControl.h"

namespace visemer {
namespace {

constexpr int kMain = 0;
constexpr int kList = 1;
constexpr int kPhonemes = 2;
constexpr int kDropList = 5;
constexpr int kButton = 6;
constexpr int kLink = 504;
constexpr int kGroup = 7;
constexpr int kImage = 8;

class QtInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui_.createWindow(kMain, 0, 0, 530, 260, 0xCA0001, "Input"));
        ui_.useControlList(kMain);
        ui_.createListView(kList, 189, 20, 156, 165, "#", 35, 0x40010008);
        ui_.addColumn(kList, 1, "Image", 50);
        ui_.addColumn(kList, 2, "Delay", 50);
        for (int row = 1; row <= 25; ++row)
            ui_.addItem(kList, -1, std::to_string(row));
        ui_.createListView(kPhonemes, 361, 20, 95, 210, "", 110, ListFlag::MultiSelect);
        ui_.setListDisplayMode(ListDisplayMode::LargeIcons);
        for (const char* label : {"Closed", "CH", "SH", "TH", "A"})
            ui_.addItem(kPhonemes, -1, label);
        ui_.createDropList(kDropList, 118, 208, 40, 150);
        for (int fps = 12; fps <= 30; ++fps)
            ui_.addItem(kDropList, -1, std::to_string(fps));
        ui_.createButton(kButton, 465, 24, 25, 25, "1");
        ui_.addShortcut(kMain, 'A', 'A');
        ui_.addShortcut(kMain, 97, 97);
        ui_.addShortcut(kMain, 107, 107);
        ui_.addShortcut(kMain, Key::Enter, 13);
        ui_.focusWindow(kMain);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
        // Taking the focus moves a list's focused row, which it reports.
        while (ui_.hasPendingEvent())
            ui_.waitEvent();
    }

    QWidget* window() { return ui_.windowWidget(kMain); }
    QAbstractItemView* view(int control) {
        return static_cast<ListViewControl*>(ui_.controlWidget(control))->activeView();
    }
    QPoint rowCentre(int control, int row) {
        QAbstractItemView* list = view(control);
        return list->visualRect(list->model()->index(row, 0)).center();
    }
    EventKind next() { return ui_.hasPendingEvent() ? ui_.waitEvent() : EventKind::None; }

    QtToolkit ui_;
};

TEST_F(QtInput, ShortcutsWinOverTheFocusedControl) {
    ui_.controlWidget(kDropList)->setFocus();
    ui_.setValue(kDropList, 18);
    QTest::keyClick(ui_.controlWidget(kDropList), Qt::Key_A);
    EXPECT_EQ(next(), EventKind::Menu);
    EXPECT_EQ(ui_.lastMenuId(), 'A');
    EXPECT_EQ(ui_.getValue(kDropList), 18) << "the drop-down list never saw the key";

    view(kList)->setFocus();
    ui_.setValue(kList, 3);
    next();
    QTest::keyClick(view(kList), Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(next(), EventKind::Menu);
    EXPECT_EQ(ui_.lastMenuId(), 97);
    QTest::keyClick(view(kList), Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(next(), EventKind::Menu);
    EXPECT_EQ(ui_.lastMenuId(), 107);
    QTest::keyClick(view(kList), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(next(), EventKind::Menu);
    EXPECT_EQ(ui_.lastMenuId(), 13);
    QTest::keyClick(view(kList), Qt::Key_End, Qt::KeypadModifier);
    EXPECT_NE(ui_.lastMenuId(), 97) << "number-pad 1 with Num Lock off is no digit";
    EXPECT_EQ(ui_.getValue(kList), ui_.itemCount(kList) - 1) << "it is End: the last row";
}

TEST_F(QtInput, ListClicksReportTheirTypeAndMoveTheSelection) {
    QWidget* viewport = view(kList)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(kList, 4));
    EXPECT_EQ(next(), EventKind::Control);
    EXPECT_EQ(ui_.lastControl(), kList);
    EXPECT_EQ(ui_.lastEventType(), ClickType::Left);
    EXPECT_EQ(ui_.getValue(kList), 4);
    EXPECT_FALSE(ui_.hasPendingEvent()) << "the click and its selection change report once";

    QTest::mouseClick(viewport, Qt::RightButton, {}, rowCentre(kList, 2));
    EXPECT_EQ(next(), EventKind::Control);
    EXPECT_EQ(ui_.lastEventType(), ClickType::Right);

    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rowCentre(kList, 2));
    bool sawDouble = false;
    while (ui_.hasPendingEvent()) {
        ui_.waitEvent();
        sawDouble = sawDouble || ui_.lastEventType() == ClickType::Double;
    }
    EXPECT_TRUE(sawDouble);
}

TEST_F(QtInput, PhonemeListSelectsSeveralAndClearsOnItsBackground) {
    QWidget* viewport = view(kPhonemes)->viewport();
    QTest::mouseClick(viewport, Qt::LeftButton, {}, rowCentre(kPhonemes, 4));
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rowCentre(kPhonemes, 1));
    EXPECT_EQ(ui_.getValue(kPhonemes), 1);
    EXPECT_EQ(ui_.itemState(kPhonemes, 4), 1);
    while (ui_.hasPendingEvent())
        ui_.waitEvent();

    QTest::mouseClick(viewport, Qt::LeftButton, {},
                      QPoint(viewport->width() - 3, viewport->height() - 3));
    EXPECT_EQ(next(), EventKind::Control);
    EXPECT_EQ(ui_.getValue(kPhonemes), -1);
}

TEST_F(QtInput, ButtonsOptionsAndLinksReportLeftClicks) {
    QTest::mouseClick(ui_.controlWidget(kButton), Qt::LeftButton);
    EXPECT_EQ(next(), EventKind::Control);
    EXPECT_EQ(ui_.lastControl(), kButton);
    EXPECT_EQ(ui_.lastEventType(), ClickType::Left);

    ui_.createOption(27, 35, 189, 55, 15, "Browser");
    ui_.createOption(28, 95, 189, 65, 15, "Projector");
    ui_.setValue(27, 1);
    QTest::mouseClick(ui_.controlWidget(28), Qt::LeftButton);
    EXPECT_EQ(next(), EventKind::Control);
    EXPECT_EQ(ui_.getValue(27), 0);
    EXPECT_EQ(ui_.getValue(28), 1);
    QTest::mouseClick(ui_.controlWidget(28), Qt::LeftButton);
    next();
    EXPECT_EQ(ui_.getValue(28), 1) << "clicking a checked option keeps it checked";

    ui_.createLink(kLink, 167, 40, 200, 20, "example", {0, 0, 255});
    QWidget* link = ui_.controlWidget(kLink);
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::RightButton);
    EXPECT_EQ(next(), EventKind::None) << "only the left button follows a link";
    QTest::mouseClick(link, Qt::LeftButton);
    EXPECT_EQ(next(), EventKind::Control);
    EXPECT_EQ(ui_.lastControl(), kLink);
    EXPECT_EQ(ui_.lastEventType(), ClickType::Left);
}

TEST_F(QtInput, CloseBoxOnlyReports) {
    window()->close();
    EXPECT_EQ(next(), EventKind::Close);
    EXPECT_EQ(ui_.lastEventWindow(), kMain);
    EXPECT_TRUE(window()->isVisible()) << "the program decides whether the window goes";
}

TEST_F(QtInput, OwnedWindowAndFocusMoves) {
    ASSERT_TRUE(ui_.createWindow(1, 0, 0, 320, 115, 0xC80002, "About", kMain));
    ui_.setWindowEnabled(kMain, false);
    // Qt's focus leaving the window may settle on a list on the way out.
    while (ui_.hasPendingEvent())
        ui_.waitEvent();
    QTest::keyClick(view(kList), Qt::Key_A);
    EXPECT_FALSE(ui_.hasPendingEvent()) << "a disabled window raises nothing";
    ui_.destroyWindow(1);
    ui_.setWindowEnabled(kMain, true);
    ui_.focusWindow(kMain);
    EXPECT_EQ(ui_.windowWidget(1), nullptr);
    QTest::keyClick(view(kList), Qt::Key_A);
    EXPECT_EQ(next(), EventKind::Menu);
}

TEST_F(QtInput, MessageBoxReturnsThePressedButton) {
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(ui_.messageBox("Save?", "Save the project first?", 0x23), MessageBoxButton::No);

    QTimer::singleShot(0, [] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(ui_.messageBox("Save?", "Save the project first?", 0x23), MessageBoxButton::Cancel);

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        box->accept();
    });
    EXPECT_EQ(ui_.messageBox("Play", "Please select an audio file.", 0x1010), MessageBoxButton::Ok);
}

// X key codes of three letter keys, the same under every layout.
constexpr quint32 kKeyCodeOfA = 38;
constexpr quint32 kKeyCodeOfQ = 24;
constexpr quint32 kKeyCodeOfM = 58;

TEST_F(QtInput, LetterShortcutsFollowTheKeyUnderOtherScripts) {
    ui_.addShortcut(kMain, 'Q', 'Q');
    ui_.addShortcut(kMain, 'M', 'M');
    ui_.addShortcut(kMain, Key::Ctrl | 'Q', 1);
    QWidget* target = view(kList);
    target->setFocus();
    const auto press = [&](int qtKey, quint32 keyCode, Qt::KeyboardModifiers modifiers,
                           const QString& text) {
        QKeyEvent event(QEvent::KeyPress, qtKey, modifiers, keyCode, 0, 0, text);
        QApplication::sendEvent(target, &event);
        const EventKind kind = next();
        return kind == EventKind::Menu ? ui_.lastMenuId() : 0;
    };
    // Russian: the A key gives Cyrillic ef, the M key Cyrillic softsign.
    EXPECT_EQ(press(0x424, kKeyCodeOfA, Qt::NoModifier, QStringLiteral("\u0444")), 'A');
    EXPECT_EQ(press(0x42C, kKeyCodeOfM, Qt::NoModifier, QStringLiteral("\u044C")), 'M');
    // Greek: the Q key gives a semicolon, which is no letter and no shortcut.
    EXPECT_EQ(press(';', kKeyCodeOfQ, Qt::NoModifier, QStringLiteral(";")), 0);
    EXPECT_EQ(press(0x419, kKeyCodeOfQ, Qt::ControlModifier, {}), 1)
        << "Ctrl with Cyrillic short i";
    // French AZERTY: the key at the US Q place prints A, and A it is.
    EXPECT_EQ(press(Qt::Key_A, kKeyCodeOfQ, Qt::NoModifier, QStringLiteral("a")), 'A');
    EXPECT_EQ(press(Qt::Key_Q, kKeyCodeOfA, Qt::NoModifier, QStringLiteral("q")), 'Q');
    // A Latin letter outside A to Z is the key's own and assigns nothing.
    EXPECT_EQ(press(0xC9, kKeyCodeOfQ, Qt::NoModifier, QStringLiteral("\u00E9")), 0);
}

// Counts the paints a widget is given.
struct PaintCount final : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(QtInput, PaintingWhatIsWaitingDrawsTheMovedHighlightAtOnce) {
    PaintCount count;
    auto* list = dynamic_cast<ListViewControl*>(ui_.controlWidget(kList));
    ASSERT_NE(list, nullptr);
    QApplication::processEvents();
    list->activeView()->viewport()->installEventFilter(&count);
    ui_.setValue(kList, 7);
    EXPECT_EQ(count.paints, 0) << "moving the highlight only asks for a paint";
    ui_.paintPending();
    EXPECT_EQ(count.paints, 1);
    ui_.paintPending();
    EXPECT_EQ(count.paints, 1) << "nothing was left to paint";
}

TEST_F(QtInput, ShowingAPictureRepaintsThePictureAlone) {
    testing::TempDir dir;
    testing::writeBitmap(dir.file("red.bmp"), 100, 120, {200, 40, 40});
    testing::writeBitmap(dir.file("green.bmp"), 100, 120, {40, 200, 40});
    const Image red = ui_.loadImage(3, dir.file("red.bmp"));
    const Image green = ui_.loadImage(4, dir.file("green.bmp"));
    ui_.createGroupBox(kGroup, 360, 5, 160, 150, "Preview");
    ui_.createImageControl(kImage, 370, 20, 104, 124, red, ControlFlag::SunkenBorder);
    QApplication::processEvents();
    QWidget* image = ui_.controlWidget(kImage);
    ASSERT_NE(image, nullptr);
    PaintCount imagePaints;
    PaintCount groupPaints;
    PaintCount windowPaints;
    image->installEventFilter(&imagePaints);
    ui_.controlWidget(kGroup)->installEventFilter(&groupPaints);
    ui_.windowWidget(kMain)->installEventFilter(&windowPaints);

    ui_.setValue(kImage, green);
    EXPECT_EQ(imagePaints.paints, 1) << "the picture reaches the screen before the call returns";
    EXPECT_EQ(groupPaints.paints, 0);
    EXPECT_EQ(windowPaints.paints, 0);
    // Drawn band by band, every part of the picture and its border.
    const QImage shot = image->grab().toImage();
    EXPECT_EQ(shot.size(), QSize(104, 124));
    for (const int y : {2, 63, 64, 65, 121})
        EXPECT_EQ(shot.pixelColor(52, y), QColor(40, 200, 40)) << "line " << y;
    const QColor window = image->palette().window().color();
    for (const int y : {0, 62, 123})
        EXPECT_NE(shot.pixelColor(0, y), window) << "the border at line " << y;
}

TEST_F(QtInput, TypingALetterNeverSearchesTheRows) {
    ui_.setItemText(kList, 7, "A", 1);
    ui_.setValue(kList, 2);
    while (ui_.hasPendingEvent())
        ui_.waitEvent();
    view(kList)->setFocus();
    QTest::keyClick(view(kList), Qt::Key_A, Qt::ShiftModifier);
    QTest::keyClick(view(kList), Qt::Key_8);
    QTest::keyClick(view(kPhonemes), Qt::Key_S, Qt::ShiftModifier);
    EXPECT_FALSE(ui_.hasPendingEvent());
    EXPECT_EQ(ui_.getValue(kList), 2);
    EXPECT_EQ(ui_.getValue(kPhonemes), -1);
}

// Everything in the folder is listed under "All files (*.*)", names
// without a dot included, and the requester reports which entry was used.
TEST(QtRequester, AllFilesListsNamesWithoutADot) {
    QtToolkit ui;
    const QString folder = QDir::temp().filePath(
        QStringLiteral("visemer-requester-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(folder);
    for (const char* name : {"voice.wav", "noext", "take.vsq"}) {
        QFile file(QDir(folder).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QStringList listed;
    testing::withNextRequester([&](QFileDialog* dialog) {
        auto* files = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        // The folder is read on a thread of its own; give it a few seconds.
        for (int tries = 0; files && tries < 250; ++tries) {
            const QModelIndex root = files->rootIndex();
            listed.clear();
            for (int row = 0; row < files->model()->rowCount(root); ++row)
                listed << files->model()->index(row, 0, root).data().toString();
            if (listed.size() >= 3)
                break;
            QTest::qWait(20);
        }
        QMetaObject::invokeMethod(dialog, "reject");
    });
    ui.openFileDialog("Open File...", (folder + QStringLiteral("/")).toStdString(),
                      "Audio (*.wav), (*.mp3)|*.wav;*.mp3|WAV (*.wav)|*.wav|"
                      "MP3 (*.mp3)|*.mp3|All files (*.*)|*.*",
                      3);
    listed.sort();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("noext"), QStringLiteral("take.vsq"),
                                   QStringLiteral("voice.wav")}));
    QDir(folder).removeRecursively();
}

// A new window is centred whole, menu bar and frame included.
TEST(QtWindows, CentringCountsTheMenuBar) {
    QtToolkit ui;
    ASSERT_TRUE(ui.createWindow(kMain, 0, 0, 530, 260, 0xCA0001, "Centred"));
    ui.createMenuBar(0, kMain);
    ui.addMenuTitle("File");
    ui.addMenuItem(1, "New");
    ui.focusWindow(kMain);
    QWidget* window = ui.windowWidget(kMain);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = window->frameGeometry();
    EXPECT_GT(outer.height(), 260) << "the menu bar is part of the window";
    EXPECT_NEAR(outer.center().x(), screen.center().x(), 1);
    EXPECT_NEAR(outer.center().y(), screen.center().y(), 1);

    ASSERT_TRUE(ui.createWindow(1, 0, 0, 320, 115, 0xC80002, "About", kMain));
    ui.focusWindow(1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(ui.windowWidget(1)));
    const QRect about = ui.windowWidget(1)->frameGeometry();
    EXPECT_NEAR(about.center().x(), outer.center().x(), 1);
    EXPECT_NEAR(about.center().y(), outer.center().y(), 1);
}

// A window is put on screen with all its controls, when the program next
// waits for input or asks something with a requester.
TEST(QtWindows, AWindowGoesOnScreenWhenTheProgramNextWaits) {
    QtToolkit ui;
    ASSERT_TRUE(ui.createWindow(kMain, 0, 0, 200, 100, 0xCA0001, "Later"));
    ui.useControlList(kMain);
    ui.createButton(10, 0, 0, 25, 25, "1");
    EXPECT_FALSE(ui.windowWidget(kMain)->isVisible());

    QTimer::singleShot(0, [] {});
    ui.waitEvent();
    EXPECT_TRUE(ui.windowWidget(kMain)->isVisible());
    EXPECT_TRUE(ui.controlWidget(10)->isVisible());

    ui.createButton(11, 30, 0, 25, 25, "2");
    EXPECT_TRUE(ui.controlWidget(11)->isVisible());
}

TEST(QtWindows, ARequesterFirstShowsTheWindowsMadeBeforeIt) {
    QtToolkit ui;
    ASSERT_TRUE(ui.createWindow(kMain, 0, 0, 200, 100, 0xCA0001, "Main"));
    ASSERT_TRUE(ui.createWindow(1, 0, 0, 100, 50, 0xCA0001, "Owned", kMain));
    bool bothShown = false;
    QTimer::singleShot(0, [&] {
        bothShown = ui.windowWidget(kMain)->isVisible() && ui.windowWidget(1)->isVisible();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    EXPECT_EQ(ui.messageBox("Play", "Please select an audio file.", 0), MessageBoxButton::Ok);
    EXPECT_TRUE(bothShown);
}

// Controls show the toolkit's small dialog font until the program names
// another default; a new default reaches only controls made after it, and
// a control's own font stays its own.
TEST(QtFonts, ControlsTakeTheDefaultFontInForceWhenMade) {
    QtToolkit ui;
    ASSERT_TRUE(ui.createWindow(kMain, 0, 0, 200, 100, 0xCA0001, "Fonts"));
    ui.useControlList(kMain);
    ui.createButton(10, 0, 0, 25, 25, "1");
    ui.loadFont(20, "Arial", 12);
    ui.createButton(11, 30, 0, 25, 25, "2");
    ui.setControlFont(11, 20);
    ui.setControlFont(-1, 20);
    ui.createLabel(12, 60, 0, 40, 20, "Later");
    ui.loadFont(21, "Arial", 9);
    ui.setControlFont(-1, 21);

    EXPECT_EQ(ui.controlWidget(10)->font().pixelSize(), 11);
    EXPECT_EQ(ui.controlWidget(11)->font().pixelSize(), 16);
    EXPECT_EQ(ui.controlWidget(12)->font().pixelSize(), 16);
    ui.createButton(13, 0, 30, 25, 25, "3");
    EXPECT_EQ(ui.controlWidget(13)->font().pixelSize(), 12);
    EXPECT_EQ(ui.controlWidget(10)->font().pixelSize(), 11);
}

} // namespace
} // namespace visemer
