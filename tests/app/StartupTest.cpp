// What the user finds when the editor starts, on the fake toolkit.

#include "ids/MenuIds.h"
#include "tests/support/Editor.h"

#include <filesystem>

namespace visemer::testing {
namespace {

class Startup : public Editor {};

TEST_F(Startup, OpensTheMainWindowAsLaidOut) {
    const auto* main = ui.window(Window::Main);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->title, "Visemer");
    EXPECT_EQ(main->flags, 0xCA0001u);
    EXPECT_EQ(main->rect.width, 530);
    EXPECT_EQ(main->rect.height, 260);
    EXPECT_EQ(main->rect.x, (FakeToolkit::kScreen.width - 530) / 2) << "centred on the screen";

    std::vector<int> expected;
    for (int control = 0; control <= 28; ++control)
        expected.push_back(control);
    EXPECT_EQ(ui.controlsInCreationOrder(Window::Main), expected);

    struct Placed {
        int control;
        Rect rect;
        const char* text;
    } placed[] = {
        {3, {25, 206, 50, 25}, "Play"},        {4, {90, 212, 30, 20}, "FPS:"},
        {6, {465, 24, 25, 25}, "1"},           {15, {490, 124, 25, 25}, "10"},
        {17, {490, 149, 25, 25}, "12"},        {18, {465, 199, 25, 25}, "-"},
        {19, {490, 199, 25, 25}, "+"},         {20, {233, 190, 65, 20}, "Total Frames"},
        {21, {215, 205, 25, 25}, "-"},         {22, {290, 205, 25, 25}, "+"},
        {23, {240, 207, 50, 20}, "25"},        {24, {5, 5, 175, 231}, "Preview Window"},
        {25, {184, 5, 167, 231}, "Sequencer"}, {26, {355, 5, 170, 231}, "Shapes and Delay"},
        {27, {35, 189, 55, 15}, "Browser"},    {28, {95, 189, 65, 15}, "Projector"},
    };
    for (const auto& p : placed) {
        const auto* control = ui.control(p.control);
        ASSERT_NE(control, nullptr) << p.control;
        EXPECT_EQ(control->rect, p.rect) << p.control;
        EXPECT_EQ(control->text, p.text) << p.control;
    }
    for (const int padSign : {18, 19, 21, 22})
        EXPECT_EQ(ui.control(padSign)->font, Font::PadSign) << padSign;
    EXPECT_EQ(ui.control(6)->font, 0) << "other controls keep the default font";
    EXPECT_EQ(ui.font(Font::PadSign)->face, "Arial");
    EXPECT_EQ(ui.font(Font::PadSign)->points, 12);
    EXPECT_EQ(ui.control(Control::TotalFrames)->flags, ControlFlag::ReadOnly);
}

TEST_F(Startup, StartsWithAFreshTimelineAndItsSettings) {
    ASSERT_EQ(rows(), 25);
    for (int row = 0; row < 25; ++row) {
        EXPECT_EQ(cell(row, 0), std::to_string(row + 1));
        EXPECT_EQ(label(row), "");
        EXPECT_EQ(delay(row), "");
    }
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(totalFrames(), "25");
    EXPECT_EQ(ui.getText(Control::FpsList), "30");
    EXPECT_EQ(ui.itemCount(Control::FpsList), 19);
    EXPECT_EQ(ui.itemText(Control::FpsList, 0, 0), "12");
    EXPECT_EQ(ui.getValue(Control::Browser), 1);
    EXPECT_EQ(ui.getValue(Control::Projector), 0);
    EXPECT_EQ(program.timeline().currentRow(), 0);

    const auto* sequencer = ui.control(Control::Sequencer);
    EXPECT_EQ(sequencer->columnTitles, (std::vector<std::string>{"#", "Image", "Delay"}));
    EXPECT_EQ(sequencer->columnWidths, (std::vector<int>{35, 50, 50}));
    EXPECT_FALSE(sequencer->multiSelect);

    const auto* phonemes = ui.control(Control::Phonemes);
    EXPECT_TRUE(phonemes->multiSelect);
    EXPECT_EQ(phonemes->mode, ListDisplayMode::LargeIcons);
    ASSERT_EQ(phonemes->rows.rowCount(), 30);
    EXPECT_EQ(phonemes->rows.cell(0, 0), "Closed");
    EXPECT_EQ(phonemes->rows.icon(0), ui.imageOf(12));
    EXPECT_EQ(phonemes->rows.cell(6, 0), "C");
    EXPECT_EQ(phonemes->rows.icon(6), ui.imageOf(18));
    EXPECT_EQ(ui.getValue(Control::Phonemes), -1) << "no phoneme is picked at start";
}

TEST_F(Startup, PreviewShowsTheFirstBitmapAtItsSizePlusTheBorder) {
    EXPECT_EQ(shownShape(), 0);
    EXPECT_EQ(ui.controlRect(Control::Preview),
              (Rect{10, 20, testBitmapWidth(0) + 4, kTestBitmapHeight + 4}));
}

TEST_F(Startup, MenuBarItemsAndTheirShortcuts) {
    struct Item {
        int id;
        const char* menu;
        const char* text;
    } items[] = {
        {1, "File", "New               Ctrl+N"},
        {2, "File", "Open...         Ctrl+O"},
        {3, "File", "Save              Ctrl+S"},
        {4, "File", "Save As..."},
        {5, "File", "Load Audio..."},
        {6, "File", "Export Script..."},
        {7, "File", "Exit                 Esc"},
        {8, "Shapes", "Load Images..."},
        {9, "Shapes", "Default Images"},
        {10, "Help", "Help...      F1"},
        {12, "Help", "About..."},
    };
    for (const auto& item : items) {
        const auto* found = ui.menuItem(item.id);
        ASSERT_NE(found, nullptr) << item.id;
        EXPECT_EQ(found->title, item.menu);
        EXPECT_EQ(found->text, item.text);
    }
    EXPECT_EQ(ui.menuItem(11), nullptr);
    EXPECT_EQ(ui.isMenuItemChecked(kMainMenu, MenuId::SaveAs), 0);

    std::vector<int> keys;
    for (int key = 'A'; key <= 'Z'; ++key)
        keys.push_back(key);
    keys.push_back(32);
    for (int key = 97; key <= 105; ++key)
        keys.push_back(key);
    for (const int key : {107, 109, 45, 46, 13, 0x2004E, 0x2004F, 0x20053, 27, 112})
        keys.push_back(key);
    EXPECT_EQ(ui.shortcutsInOrder(Window::Main), keys);
    EXPECT_EQ(ui.window(Window::Main)->shortcuts.at(0x20053), MenuId::Save);
    EXPECT_EQ(ui.window(Window::Main)->shortcuts.at(27), MenuId::Exit);
    EXPECT_EQ(ui.window(Window::Main)->shortcuts.at(112), MenuId::Help);
}

TEST_F(Startup, EscAndTheCloseBoxEndTheProgramWithoutAsking) {
    ui.pressKey('A');
    ui.pressKey(Key::Escape);
    settle();
    EXPECT_TRUE(program.loop().quitting());
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST(StartupWithoutImages, StartsWithEmptySlotsAndABlankPreview) {
    WorkingFolder folder;
    FakeToolkit ui;
    FakeMediaPlayer media;
    FakeSteadyClock clock(ui);
    Program program(ui, media, clock);
    ASSERT_TRUE(program.start());
    for (int slot = 0; slot <= 20; ++slot)
        EXPECT_TRUE(ui.imageOf(slot).isNull()) << slot;
    EXPECT_EQ(ui.controlRect(Control::Preview), (Rect{10, 20, 160, 160}));
    EXPECT_TRUE(ui.control(Control::Preview)->image.isNull());
    EXPECT_EQ(ui.itemCount(Control::Phonemes), 30);
}

TEST(StartupWithoutAWindow, EndsAtOnceWithStatusZero) {
    WorkingFolder folder;
    FakeToolkit ui;
    ui.refuseWindows();
    ui.pressKey('A');
    FakeMediaPlayer media;
    FakeSteadyClock clock(ui);
    Program program(ui, media, clock);
    EXPECT_EQ(program.run(), 0);
    EXPECT_EQ(ui.inputLeft(), 1u) << "the event loop never ran";
    EXPECT_EQ(ui.shutdowns(), 1);
}

} // namespace
} // namespace visemer::testing
