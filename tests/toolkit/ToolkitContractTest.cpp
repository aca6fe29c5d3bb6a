// What the program relies on from a toolkit, checked against the fake and
// the Qt toolkit alike, so the fake cannot drift from the real one.

#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"
#include "tests/toolkit/ToolkitHarness.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace visemer::testing {
namespace {

constexpr int kWindow = 0;
constexpr int kSingleList = 1;
constexpr int kMultiList = 2;
constexpr int kDropList = 5;
constexpr int kButton = 6;
constexpr int kImage = 10;
constexpr int kPlainImage = 11;
constexpr int kFirstOption = 27;
constexpr int kSecondOption = 28;
constexpr int kThirdOption = 29;

template <typename Harness> class ToolkitContract : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui().createWindow(kWindow, 0, 0, 530, 260,
                                      WindowFlag::CaptionBar | WindowFlag::SystemMenu |
                                          WindowFlag::MinimizeBox | WindowFlag::CentreOnScreen,
                                      "Contract"));
        ui().useControlList(kWindow);
    }

    UiToolkit& ui() { return harness_.toolkit(); }

    void makeLists(int rows) {
        ui().createListView(kSingleList, 10, 10, 156, 165, "#", 35,
                            ListFlag::ShowSelectionAlways | ListFlag::GridLines |
                                ListFlag::FullRowSelect);
        ui().addColumn(kSingleList, 1, "Image", 50);
        ui().addColumn(kSingleList, 2, "Delay", 50);
        ui().createListView(kMultiList, 200, 10, 95, 210, "", 110, ListFlag::MultiSelect);
        ui().setListDisplayMode(ListDisplayMode::LargeIcons);
        for (int row = 0; row < rows; ++row) {
            ui().addItem(kSingleList, -1, std::to_string(row + 1));
            ui().addItem(kMultiList, -1, "P" + std::to_string(row));
        }
    }

    // Takes whatever the commands so far left pending, as the event loop
    // would before it looks at new input.
    void drainPending() {
        while (harness_.hasPending())
            harness_.waitIfPending();
    }

    Harness harness_;
    TempDir dir_;
};

using Toolkits = ::testing::Types<FakeHarness, QtHarness>;
TYPED_TEST_SUITE(ToolkitContract, Toolkits);

TYPED_TEST(ToolkitContract, ListValueIsLowestSelectedRowOrMinusOne) {
    this->makeLists(5);
    this->drainPending();
    UiToolkit& ui = this->ui();
    EXPECT_EQ(ui.getValue(kSingleList), -1);
    EXPECT_EQ(ui.getValue(kMultiList), -1);

    ui.setValue(kSingleList, 3);
    ui.setValue(kSingleList, 1);
    EXPECT_EQ(ui.getValue(kSingleList), 1) << "a single-selection list moves its selection";
    EXPECT_EQ(ui.itemState(kSingleList, 3), 0);
    EXPECT_EQ(ui.itemState(kSingleList, 1), 1);

    ui.setValue(kMultiList, 3);
    ui.setValue(kMultiList, 1);
    EXPECT_EQ(ui.getValue(kMultiList), 1) << "a multi-selection list adds to its selection";
    EXPECT_EQ(ui.itemState(kMultiList, 3), 1);
    EXPECT_EQ(ui.itemState(kMultiList, 1), 1);

    ui.setItemState(kSingleList, 4, 1);
    EXPECT_EQ(ui.getValue(kSingleList), 4);
    EXPECT_EQ(ui.itemState(kSingleList, 1), 0);
    ui.setItemState(kMultiList, 1, 0);
    EXPECT_EQ(ui.getValue(kMultiList), 3);

    ui.setValue(kSingleList, 99);
    EXPECT_EQ(ui.getValue(kSingleList), 4) << "a row that does not exist changes nothing";
    ui.setValue(kSingleList, -1);
    ui.setValue(kMultiList, -1);
    EXPECT_EQ(ui.getValue(kSingleList), -1);
    EXPECT_EQ(ui.getValue(kMultiList), -1);
}

TYPED_TEST(ToolkitContract, RowsAndCells) {
    this->makeLists(0);
    UiToolkit& ui = this->ui();
    ui.addItem(kSingleList, -1, "5");
    ui.addItem(kSingleList, -1, "6\nA\n2");
    ui.addItem(kSingleList, 0, "4\nClosed");
    ASSERT_EQ(ui.itemCount(kSingleList), 3);
    EXPECT_EQ(ui.itemText(kSingleList, 0, 0), "4");
    EXPECT_EQ(ui.itemText(kSingleList, 0, 1), "Closed");
    EXPECT_EQ(ui.itemText(kSingleList, 0, 2), "");
    EXPECT_EQ(ui.itemText(kSingleList, 1, 0), "5");
    EXPECT_EQ(ui.itemText(kSingleList, 1, 1), "");
    EXPECT_EQ(ui.itemText(kSingleList, 2, 1), "A");
    EXPECT_EQ(ui.itemText(kSingleList, 2, 2), "2");

    EXPECT_EQ(ui.itemText(kSingleList, 3, 0), "") << "a row that does not exist";
    EXPECT_EQ(ui.itemText(kSingleList, -1, 0), "");
    ui.setItemText(kSingleList, 3, "X", 1);
    ui.setItemText(kSingleList, -1, "X", 1);
    EXPECT_EQ(ui.itemCount(kSingleList), 3);

    ui.setItemText(kSingleList, 1, "\xC3\xA9t\xC3\xA9 \x01", 2);
    EXPECT_EQ(ui.itemText(kSingleList, 1, 2), "\xC3\xA9t\xC3\xA9 \x01") << "cells are bytes";

    ui.removeItem(kSingleList, 7);
    EXPECT_EQ(ui.itemCount(kSingleList), 3);
    ui.removeItem(kSingleList, 0);
    EXPECT_EQ(ui.itemText(kSingleList, 0, 0), "5");
    ui.clearItems(kSingleList);
    EXPECT_EQ(ui.itemCount(kSingleList), 0);
}

TYPED_TEST(ToolkitContract, ProgramMadeSelectionChangesComeOutOfTheNextWaitAsOneEvent) {
    this->makeLists(25);
    this->drainPending();
    UiToolkit& ui = this->ui();
    for (int row = 0; row < 25; ++row)
        ui.setValue(kSingleList, row);
    ui.setItemState(kSingleList, 0, 1);

    EXPECT_EQ(this->harness_.waitIfPending(), EventKind::Control);
    EXPECT_EQ(ui.lastControl(), kSingleList);
    EXPECT_EQ(ui.lastEventType(), ClickType::None);
    EXPECT_EQ(ui.lastEventWindow(), kWindow);
    EXPECT_FALSE(this->harness_.hasPending()) << "the walk's moves merge into one event";

    ui.setValue(kSingleList, 0);
    EXPECT_FALSE(this->harness_.hasPending()) << "selecting the selected row changes nothing";
}

TYPED_TEST(ToolkitContract, FocusAloneChangesNoRowAndRaisesNothing) {
    UiToolkit& ui = this->ui();
    ui.createButton(kButton, 300, 10, 50, 25, "Play");
    this->makeLists(5);
    ui.setValue(kSingleList, 2);
    this->drainPending();

    this->harness_.focusControl(kMultiList);
    EXPECT_EQ(this->harness_.focusedControl(kWindow), kMultiList);
    EXPECT_FALSE(this->harness_.hasPending()) << "a list gaining the focus is no selection";
    EXPECT_EQ(ui.getValue(kMultiList), -1);

    this->harness_.focusControl(kButton);
    EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Tab), EventKind::None);
    EXPECT_EQ(this->harness_.focusedControl(kWindow), kSingleList);
    EXPECT_FALSE(this->harness_.hasPending());
    EXPECT_EQ(ui.getValue(kSingleList), 2);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(ui.itemState(kMultiList, row), 0) << row;
}

TYPED_TEST(ToolkitContract, TabMovesTheFocusInCreationOrderAndDoesNothingElse) {
    UiToolkit& ui = this->ui();
    ui.createButton(kButton, 300, 10, 50, 25, "Play");
    ui.createLabel(40, 300, 40, 50, 15, "label");
    this->makeLists(5);
    ui.createDropList(kDropList, 300, 60, 40, 150);
    ui.createOption(kFirstOption, 300, 100, 55, 15, "Browser");
    ui.createOption(kSecondOption, 300, 120, 65, 15, "Projector");
    ui.setValue(kSingleList, 0);
    this->drainPending();

    this->harness_.focusControl(kButton);
    const std::vector<int> forwards = {kSingleList,  kMultiList,    kDropList,
                                       kFirstOption, kSecondOption, kButton};
    for (const int expected : forwards) {
        EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Tab), EventKind::None);
        EXPECT_EQ(this->harness_.focusedControl(kWindow), expected);
    }
    for (auto expected = forwards.rbegin() + 1; expected != forwards.rend(); ++expected) {
        EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Shift | Key::Tab), EventKind::None);
        EXPECT_EQ(this->harness_.focusedControl(kWindow), *expected);
    }
    EXPECT_EQ(ui.getValue(kSingleList), 0) << "Tab never moves a list's selection";
    EXPECT_EQ(ui.getValue(kMultiList), -1);
    EXPECT_FALSE(this->harness_.hasPending());
}

TYPED_TEST(ToolkitContract, PaintingWhatIsWaitingTakesNoInput) {
    UiToolkit& ui = this->ui();
    ui.createButton(kButton, 300, 10, 50, 25, "+");
    this->makeLists(5);
    this->drainPending();

    ui.setValue(kSingleList, 3);
    this->harness_.queueClick(kButton);
    ui.paintPending();
    EXPECT_EQ(ui.getValue(kSingleList), 3);
    EXPECT_EQ(this->harness_.waitIfPending(), EventKind::Control);
    EXPECT_EQ(ui.lastControl(), kSingleList) << "the program's move comes out first";
    EXPECT_EQ(this->harness_.takeQueuedInput(), EventKind::Control);
    EXPECT_EQ(ui.lastControl(), kButton) << "the click waited for the program";
    EXPECT_EQ(ui.lastEventType(), ClickType::Left);
}

TYPED_TEST(ToolkitContract, InputThatArrivesInOneBatchComesOutOnePressAtATime) {
    UiToolkit& ui = this->ui();
    ui.createButton(kButton, 300, 10, 50, 25, "+");
    ui.createButton(kButton + 1, 300, 40, 50, 25, "-");
    this->makeLists(5);
    this->drainPending();

    EXPECT_EQ(this->harness_.clickButtonsInOneBatch({kButton, kButton, kButton + 1, kButton}),
              EventKind::Control);
    std::vector<int> seen = {ui.lastControl()};
    while (this->harness_.hasPending()) {
        EXPECT_EQ(this->harness_.waitIfPending(), EventKind::Control);
        EXPECT_EQ(ui.lastEventType(), ClickType::Left);
        seen.push_back(ui.lastControl());
    }
    EXPECT_EQ(seen, (std::vector<int>{kButton, kButton, kButton + 1, kButton}));

    // A click on a row also selects it: one event each, carrying the click.
    EXPECT_EQ(this->harness_.clickRowsInOneBatch(kSingleList, {1, 3}), EventKind::Control);
    EXPECT_EQ(ui.lastControl(), kSingleList);
    EXPECT_EQ(ui.lastEventType(), ClickType::Left);
    EXPECT_EQ(this->harness_.waitIfPending(), EventKind::Control);
    EXPECT_EQ(ui.lastEventType(), ClickType::Left);
    EXPECT_FALSE(this->harness_.hasPending());
    EXPECT_EQ(ui.getValue(kSingleList), 3);
}

TYPED_TEST(ToolkitContract, RequesterReportsTheFileTypeInUse) {
    UiToolkit& ui = this->ui();
    const std::string audio =
        "Audio (*.wav), (*.mp3)|*.wav;*.mp3|WAV (*.wav)|*.wav|MP3 (*.mp3)|*.mp3|"
        "All files (*.*)|*.*";
    for (int entry = 0; entry < 4; ++entry) {
        this->harness_.answerFileDialog(this->dir_.file("voice"), entry);
        EXPECT_EQ(ui.openFileDialog("Open File...", "", audio, 0), this->dir_.file("voice"));
        EXPECT_EQ(ui.selectedFilter(), entry);
    }
    for (const char* filter :
         {"VSQ (*.vsq)|*.vsq", "Mou (*.mou)|*.mou", "Actionscript (*.as)|*.as"}) {
        this->harness_.answerFileDialog(this->dir_.file("take"), 0);
        EXPECT_EQ(ui.saveFileDialog("Save As...", "", filter, 0), this->dir_.file("take"));
        EXPECT_EQ(ui.selectedFilter(), 0) << filter;
    }
    this->harness_.answerFileDialog("", 0);
    EXPECT_EQ(ui.openFileDialog("Open File...", "", audio, 2), "");
    EXPECT_EQ(ui.selectedFilter(), -1) << "cancelled";
}

TYPED_TEST(ToolkitContract, RequestersReturnNamesExactlyAsTyped) {
    UiToolkit& ui = this->ui();
    for (const char* name : {"say \"hi\".wav", "\"quoted\"", "back\\slash.wav", "-dash.wav"}) {
        const std::string path = this->dir_.file(name);
        this->harness_.answerFileDialog(path, 0);
        EXPECT_EQ(ui.openFileDialog("Open File...", "", "WAV (*.wav)|*.wav", 0), path);
        this->harness_.answerFileDialog(path, 0);
        EXPECT_EQ(ui.saveFileDialog("Save As...", "", "VSQ (*.vsq)|*.vsq", 0), path);
    }
}

TYPED_TEST(ToolkitContract, RemovingTheSelectedRowLeavesNothingSelected) {
    this->makeLists(3);
    UiToolkit& ui = this->ui();
    ui.setValue(kSingleList, 2);
    this->drainPending();
    ui.removeItem(kSingleList, 2);
    EXPECT_EQ(ui.getValue(kSingleList), -1);
    EXPECT_FALSE(this->harness_.hasPending());
    ui.addItem(kSingleList, -1, "3");
    EXPECT_EQ(ui.getValue(kSingleList), -1);
    EXPECT_FALSE(this->harness_.hasPending()) << "adding rows selects nothing";

    ui.setValue(kSingleList, 0);
    this->drainPending();
    ui.removeItem(kSingleList, 2);
    EXPECT_EQ(ui.getValue(kSingleList), 0) << "removing another row keeps the selection";
}

TYPED_TEST(ToolkitContract, EventsOtherThanControlEventsReportTypeMinusOne) {
    UiToolkit& ui = this->ui();
    ui.createButton(kButton, 10, 10, 50, 25, "Play");
    ui.createMenuBar(0, kWindow);
    ui.addMenuTitle("File");
    ui.addMenuItem(7, "Exit                 Esc");
    ui.addShortcut(kWindow, Key::Escape, 7);

    EXPECT_EQ(this->harness_.clickButton(kButton), EventKind::Control);
    EXPECT_EQ(ui.lastControl(), kButton);
    EXPECT_EQ(ui.lastEventType(), ClickType::Left);

    EXPECT_EQ(this->harness_.chooseMenu(7), EventKind::Menu);
    EXPECT_EQ(ui.lastMenuId(), 7);
    EXPECT_EQ(ui.lastEventType(), ClickType::None);

    EXPECT_EQ(this->harness_.clickButton(kButton), EventKind::Control);
    EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Escape), EventKind::Menu);
    EXPECT_EQ(ui.lastMenuId(), 7);
    EXPECT_EQ(ui.lastEventType(), ClickType::None);
}

TYPED_TEST(ToolkitContract, ShortcutsNeedExactlyTheirModifiers) {
    UiToolkit& ui = this->ui();
    ui.addShortcut(kWindow, 'A', 'A');
    ui.addShortcut(kWindow, Key::Ctrl | 'N', 1);
    ui.addShortcut(kWindow, 97, 97);

    EXPECT_EQ(this->harness_.pressKey(kWindow, 'A'), EventKind::Menu);
    EXPECT_EQ(ui.lastMenuId(), 'A');
    for (const int modifier : {Key::Shift, Key::Ctrl, Key::Alt})
        EXPECT_EQ(this->harness_.pressKey(kWindow, modifier | 'A'), EventKind::None) << modifier;

    EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Ctrl | 'N'), EventKind::Menu);
    EXPECT_EQ(ui.lastMenuId(), 1);
    EXPECT_EQ(this->harness_.pressKey(kWindow, 'N'), EventKind::None);
    EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Ctrl | Key::Shift | 'N'), EventKind::None);

    EXPECT_EQ(this->harness_.pressKey(kWindow, 97), EventKind::Menu) << "number-pad 1";
    EXPECT_EQ(ui.lastMenuId(), 97);
    EXPECT_EQ(this->harness_.pressKey(kWindow, '1'), EventKind::None) << "main keyboard 1";
}

TYPED_TEST(ToolkitContract, AddingAShortcutAgainReplacesItsIdentifier) {
    UiToolkit& ui = this->ui();
    ui.addShortcut(kWindow, Key::Escape, 7);
    ui.addShortcut(kWindow, Key::Escape, 44);
    EXPECT_EQ(this->harness_.pressKey(kWindow, Key::Escape), EventKind::Menu);
    EXPECT_EQ(ui.lastMenuId(), 44);
    EXPECT_FALSE(this->harness_.hasPending()) << "only the new identifier is raised";
}

TYPED_TEST(ToolkitContract, DisabledWindowRaisesNoEvents) {
    UiToolkit& ui = this->ui();
    this->makeLists(5);
    ui.createButton(kButton, 300, 10, 50, 25, "Play");
    ui.addShortcut(kWindow, 'A', 'A');
    this->drainPending();
    ui.setWindowEnabled(kWindow, false);
    EXPECT_FALSE(ui.isWindowEnabled(kWindow));
    EXPECT_EQ(this->harness_.pressKey(kWindow, 'A'), EventKind::None);
    EXPECT_EQ(this->harness_.clickButton(kButton), EventKind::None);
    EXPECT_EQ(this->harness_.clickRowsInOneBatch(kMultiList, {2}), EventKind::None)
        << "a click on a list of a window turned off reaches no command";
    EXPECT_EQ(this->harness_.clickRowsInOneBatch(kSingleList, {3}), EventKind::None);
    EXPECT_EQ(ui.getValue(kMultiList), -1);
    ui.setWindowEnabled(kWindow, true);
    EXPECT_EQ(this->harness_.clickRowsInOneBatch(kMultiList, {2}), EventKind::Control);
    this->drainPending();
    EXPECT_EQ(this->harness_.pressKey(kWindow, 'A'), EventKind::Menu);
}

TYPED_TEST(ToolkitContract, AnOwnedWindowIsKeptAboveItsOwner) {
    UiToolkit& ui = this->ui();
    ASSERT_TRUE(ui.createWindow(1, 0, 0, 320, 115,
                                WindowFlag::CaptionBar | WindowFlag::SystemMenu |
                                    WindowFlag::CentreOnActive,
                                "Owned", kWindow));
    EXPECT_EQ(this->harness_.ownerOf(1), kWindow);
    EXPECT_EQ(this->harness_.ownerOf(kWindow), -1);
    ui.destroyWindow(1);
    ASSERT_TRUE(ui.createWindow(1, 0, 0, 320, 115, WindowFlag::CaptionBar, "Alone"));
    EXPECT_EQ(this->harness_.ownerOf(1), -1);
}

TYPED_TEST(ToolkitContract, ImageControlTakesTheSizeOfItsImage) {
    UiToolkit& ui = this->ui();
    const std::string bitmap = this->dir_.file("tall.bmp");
    writeBitmap(bitmap, 100, 120);
    const Image image = ui.loadImage(3, bitmap);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(ui.imageOf(3), image);
    EXPECT_EQ(ui.imageSize(image), (Size{100, 120}));

    ui.createImageControl(kImage, 10, 20, 160, 160, Image{}, ControlFlag::SunkenBorder);
    EXPECT_EQ(ui.controlRect(kImage), (Rect{10, 20, 160, 160})) << "no image keeps its size";
    ui.setValue(kImage, image);
    EXPECT_EQ(ui.controlRect(kImage), (Rect{10, 20, 104, 124}));
    ui.setValue(kImage, Image{});
    EXPECT_EQ(ui.controlRect(kImage), (Rect{10, 20, 104, 124}));

    ui.createImageControl(kPlainImage, 200, 20, 160, 160, image, 0);
    EXPECT_EQ(ui.controlRect(kPlainImage), (Rect{200, 20, 100, 120}));
}

TYPED_TEST(ToolkitContract, TheFirstTwoBytesDecideHowAnImageLoads) {
    UiToolkit& ui = this->ui();
    const std::string icon = this->dir_.file("L.bmp");
    writeIcon(icon, {16, 32});
    const Image loaded = ui.loadImage(5, icon);
    ASSERT_FALSE(loaded.isNull()) << "an icon named .bmp loads as an icon";
    EXPECT_EQ(ui.imageSize(loaded), (Size{32, 32})) << "at its largest size";

    const std::string junk = this->dir_.file("junk.ico");
    writeBytes(junk, "this is not a picture");
    EXPECT_TRUE(ui.loadImage(5, junk).isNull());
    EXPECT_TRUE(ui.imageOf(5).isNull()) << "a failed load leaves the slot empty";

    const std::string brokenBitmap = this->dir_.file("broken.bmp");
    writeBytes(brokenBitmap, "BM");
    EXPECT_TRUE(ui.loadImage(6, brokenBitmap).isNull());
    writeBitmap(brokenBitmap, 10, 10);
    std::filesystem::resize_file(brokenBitmap, 54);
    EXPECT_TRUE(ui.loadImage(6, brokenBitmap).isNull()) << "a header without its pixels";
    writeBitmap(brokenBitmap, 150, 150);
    std::filesystem::resize_file(brokenBitmap, 600);
    EXPECT_TRUE(ui.loadImage(6, brokenBitmap).isNull()) << "a few rows of its pixels";
    writeBitmap(brokenBitmap, 150, 150);
    std::filesystem::resize_file(brokenBitmap, std::filesystem::file_size(brokenBitmap) - 1);
    EXPECT_TRUE(ui.loadImage(6, brokenBitmap).isNull()) << "all but its last byte";

    const std::string topDown = this->dir_.file("top-down.bmp");
    writeBitmap(topDown, 30, -20);
    const Image upright = ui.loadImage(8, topDown);
    ASSERT_FALSE(upright.isNull()) << "rows stored from the top";
    EXPECT_EQ(ui.imageSize(upright), (Size{30, 20}));
    EXPECT_TRUE(ui.loadImage(6, this->dir_.file("missing.bmp")).isNull());
    EXPECT_TRUE(ui.loadImage(6, this->dir_.path()).isNull()) << "a folder";

    ui.loadImage(7, icon);
    const Image old = ui.imageOf(7);
    ui.freeImage(7);
    EXPECT_TRUE(ui.imageOf(7).isNull());
    EXPECT_EQ(ui.imageSize(old), (Size{})) << "a freed image is gone";
}

TYPED_TEST(ToolkitContract, PicturesLargerThanAnyDrawingAreRefused) {
    UiToolkit& ui = this->ui();
    const std::string edge = this->dir_.file("edge.bmp");
    writeRunLengthBitmap(edge, 4096, 2);
    const Image loaded = ui.loadImage(1, edge);
    ASSERT_FALSE(loaded.isNull()) << "4096 pixels is still a picture";
    EXPECT_EQ(ui.imageSize(loaded), (Size{4096, 2}));
    for (const auto& [width, height] :
         {std::pair{4097, 2}, std::pair{2, 4097}, std::pair{5600, 5600}}) {
        const std::string huge = this->dir_.file("huge.bmp");
        writeRunLengthBitmap(huge, width, height);
        EXPECT_TRUE(ui.loadImage(1, huge).isNull()) << width << " x " << height;
        EXPECT_TRUE(ui.imageOf(1).isNull());
    }
}

TYPED_TEST(ToolkitContract, DropListMatchesTextIgnoringCase) {
    UiToolkit& ui = this->ui();
    ui.createDropList(kDropList, 118, 208, 40, 150);
    for (const char* entry : {"12", "24", "Thirty"})
        ui.addItem(kDropList, -1, entry);
    EXPECT_EQ(ui.getValue(kDropList), -1) << "entries alone select nothing";
    EXPECT_EQ(ui.getText(kDropList), "");

    ui.setValue(kDropList, 1);
    EXPECT_EQ(ui.getText(kDropList), "24");
    ui.setText(kDropList, "thIRTY");
    EXPECT_EQ(ui.getValue(kDropList), 2);
    EXPECT_EQ(ui.getText(kDropList), "Thirty");
    ui.setText(kDropList, "25");
    EXPECT_EQ(ui.getValue(kDropList), 2) << "no match changes nothing";
    ui.setText(kDropList, "Thirt");
    EXPECT_EQ(ui.getValue(kDropList), 2) << "the whole text must match";
    ui.setText(kDropList, "");
    EXPECT_EQ(ui.getValue(kDropList), -1);
    EXPECT_EQ(ui.itemCount(kDropList), 3);
    EXPECT_FALSE(this->harness_.hasPending()) << "program changes raise nothing";
}

TYPED_TEST(ToolkitContract, ConsecutiveOptionsFormOneGroup) {
    UiToolkit& ui = this->ui();
    ui.createOption(kFirstOption, 35, 189, 55, 15, "Browser");
    ui.createOption(kSecondOption, 95, 189, 65, 15, "Projector");
    ui.createButton(kButton, 10, 10, 50, 25, "Play");
    ui.createOption(kThirdOption, 35, 220, 55, 15, "Other group");

    ui.setValue(kFirstOption, 1);
    ui.setValue(kThirdOption, 1);
    EXPECT_EQ(ui.getValue(kFirstOption), 1) << "a control between options starts a new group";
    ui.setValue(kSecondOption, 1);
    EXPECT_EQ(ui.getValue(kFirstOption), 0);
    EXPECT_EQ(ui.getValue(kSecondOption), 1);
    EXPECT_EQ(ui.getValue(kThirdOption), 1);
    ui.setValue(kSecondOption, 0);
    EXPECT_EQ(ui.getValue(kSecondOption), 0) << "0 unchecks it alone";
    EXPECT_EQ(ui.getValue(kFirstOption), 0);
    EXPECT_EQ(ui.getText(kSecondOption), "Projector");
}

TYPED_TEST(ToolkitContract, NumbersThatHoldNothingDoNothing) {
    UiToolkit& ui = this->ui();
    ui.setValue(400, 3);
    ui.setText(400, "x");
    ui.addItem(400, -1, "x");
    ui.setItemText(400, 0, "x", 0);
    EXPECT_EQ(ui.getValue(400), 0);
    EXPECT_EQ(ui.getText(400), "");
    EXPECT_EQ(ui.itemCount(400), 0);
    EXPECT_EQ(ui.itemText(400, 0, 0), "");
    EXPECT_EQ(ui.itemState(400, 0), 0);
    EXPECT_TRUE(ui.imageOf(15).isNull());
    EXPECT_EQ(ui.isMenuItemChecked(0, 4), 0);
    EXPECT_FALSE(ui.controlExists(400));
    ui.destroyWindow(9);
    ui.setWindowEnabled(9, false);
    EXPECT_FALSE(ui.isWindowEnabled(9));
    EXPECT_EQ(ui.selectedFilter(), -1);
}

TYPED_TEST(ToolkitContract, WindowInnerAreaAndMenuCheckMarks) {
    UiToolkit& ui = this->ui();
    ui.createMenuBar(0, kWindow);
    ui.addMenuTitle("File");
    ui.addMenuItem(4, "Save As...");
    ui.setMenuItemChecked(0, 4, false);
    EXPECT_EQ(ui.isMenuItemChecked(0, 4), 0);
    ui.setMenuItemChecked(0, 4, true);
    EXPECT_EQ(ui.isMenuItemChecked(0, 4), 1);
    EXPECT_EQ(this->harness_.chooseMenu(4), EventKind::Menu);
    EXPECT_EQ(ui.isMenuItemChecked(0, 4), 1) << "choosing an item leaves its mark alone";

    const Rect inner = ui.windowRect(kWindow);
    EXPECT_EQ(inner.width, 530);
    EXPECT_EQ(inner.height, 260);

    ui.loadFont(508, "Arial", 12);
    ui.loadFont(501, "Arial", 10, FontFlag::Bold | FontFlag::Underline);
    EXPECT_EQ(ui.lastFont(), 501);
}

} // namespace
} // namespace visemer::testing
