#include "app/MainWindow.h"

#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "timeline/PlaybackRate.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

namespace visemer {
namespace {

constexpr int kWidth = 530;
constexpr int kHeight = 260;
constexpr int kPadFontPoints = 12;

void buildMenus(UiToolkit& ui) {
    ui.createMenuBar(kMainMenu, Window::Main);
    ui.addMenuTitle("File");
    ui.addMenuItem(MenuId::New, "New               Ctrl+N");
    ui.addMenuItem(MenuId::Open, "Open...         Ctrl+O");
    ui.addMenuItem(MenuId::Save, "Save              Ctrl+S");
    ui.addMenuItem(MenuId::SaveAs, "Save As...");
    // The mark on "Save As..." records whether the project has a file yet.
    ui.setMenuItemChecked(kMainMenu, MenuId::SaveAs, false);
    ui.addMenuSeparator();
    ui.addMenuItem(MenuId::LoadAudio, "Load Audio...");
    ui.addMenuSeparator();
    ui.addMenuItem(MenuId::ExportScript, "Export Script...");
    ui.addMenuSeparator();
    ui.addMenuItem(MenuId::Exit, "Exit                 Esc");
    ui.addMenuTitle("Shapes");
    ui.addMenuItem(MenuId::LoadImages, "Load Images...");
    ui.addMenuItem(MenuId::DefaultImages, "Default Images");
    ui.addMenuTitle("Help");
    ui.addMenuItem(MenuId::Help, "Help...      F1");
    ui.addMenuItem(MenuId::About, "About...");
}

void buildSequencer(UiToolkit& ui) {
    ui.createListView(Control::Sequencer, 189, 20, 156, 165, "#", 35,
                      ListFlag::ShowSelectionAlways | ListFlag::GridLines |
                          ListFlag::FullRowSelect);
    ui.addColumn(Control::Sequencer, Timeline::Label, "Image", 50);
    ui.addColumn(Control::Sequencer, Timeline::Delay, "Delay", 50);
    Timeline::appendNumberedRows(ui, Timeline::kFreshRows);
}

void buildPhonemeList(UiToolkit& ui) {
    ui.createListView(Control::Phonemes, 361, 20, 95, 210, "", 110, ListFlag::MultiSelect);
    ui.setListDisplayMode(ListDisplayMode::LargeIcons);
    for (const Phoneme& phoneme : PhonemeTable::all())
        ui.addItem(Control::Phonemes, -1, std::string(phoneme.label),
                   ui.imageOf(phoneme.iconSlot()));
}

void buildDelayPad(UiToolkit& ui) {
    for (int control = Control::FirstDelayButton; control <= Control::LastDelayButton; ++control) {
        const int index = control - Control::FirstDelayButton;
        const int x = index % 2 == 0 ? 465 : 490;
        const int y = 24 + (index / 2) * 25;
        ui.createButton(control, x, y, 25, 25, writeDecimal(index + 1));
    }
    ui.createButton(Control::DelayDown, 465, 199, 25, 25, "-");
    ui.createButton(Control::DelayUp, 490, 199, 25, 25, "+");
    ui.setControlFont(Control::DelayDown, Font::PadSign);
    ui.setControlFont(Control::DelayUp, Font::PadSign);
}

void addShortcuts(UiToolkit& ui) {
    for (int letter = MenuId::FirstLetter; letter <= MenuId::LastLetter; ++letter)
        ui.addShortcut(Window::Main, letter, letter);
    ui.addShortcut(Window::Main, Key::Space, MenuId::Closed);
    for (int key = Key::Numpad1; key <= Key::Numpad9; ++key)
        ui.addShortcut(Window::Main, key, key);
    ui.addShortcut(Window::Main, Key::NumpadPlus, MenuId::DelayUp);
    ui.addShortcut(Window::Main, Key::NumpadMinus, MenuId::DelayDown);
    ui.addShortcut(Window::Main, Key::Insert, MenuId::AppendFrame);
    ui.addShortcut(Window::Main, Key::Delete, MenuId::RemoveFrame);
    ui.addShortcut(Window::Main, Key::Enter, MenuId::Play);
    ui.addShortcut(Window::Main, Key::Ctrl | 'N', MenuId::New);
    ui.addShortcut(Window::Main, Key::Ctrl | 'O', MenuId::Open);
    ui.addShortcut(Window::Main, Key::Ctrl | 'S', MenuId::Save);
    ui.addShortcut(Window::Main, Key::Escape, MenuId::Exit);
    ui.addShortcut(Window::Main, Key::F1, MenuId::Help);
}

} // namespace

bool buildMainWindow(UiToolkit& ui) {
    ui.loadFont(Font::PadSign, "Arial", kPadFontPoints);
    constexpr std::uint32_t kFlags = WindowFlag::CaptionBar | WindowFlag::SystemMenu |
                                     WindowFlag::MinimizeBox | WindowFlag::CentreOnScreen;
    if (!ui.createWindow(Window::Main, 0, 0, kWidth, kHeight, kFlags, "Visemer"))
        return false;
    ui.useControlList(Window::Main);
    buildMenus(ui);

    ui.createImageControl(Control::Preview, 10, 20, 160, 160, ui.imageOf(0),
                          ControlFlag::SunkenBorder);
    buildSequencer(ui);
    buildPhonemeList(ui);

    ui.createButton(Control::PlayButton, 25, 206, 50, 25, "Play");
    ui.createLabel(Control::FpsLabel, 90, 212, 30, 20, "FPS:");
    ui.createDropList(Control::FpsList, 118, 208, 40, 150);
    for (int fps = PlaybackRate::kLowestFps; fps <= PlaybackRate::kHighestFps; ++fps)
        ui.addItem(Control::FpsList, -1, writeDecimal(fps));
    ui.setValue(Control::FpsList, PlaybackRate::kHighestFps - PlaybackRate::kLowestFps);

    buildDelayPad(ui);

    ui.createLabel(Control::TotalFramesLabel, 233, 190, 65, 20, "Total Frames");
    ui.createButton(Control::FramesDown, 215, 205, 25, 25, "-");
    ui.createButton(Control::FramesUp, 290, 205, 25, 25, "+");
    ui.createTextField(Control::TotalFrames, 240, 207, 50, 20, writeDecimal(Timeline::kFreshRows),
                       ControlFlag::ReadOnly);
    ui.setControlFont(Control::FramesDown, Font::PadSign);
    ui.setControlFont(Control::FramesUp, Font::PadSign);

    ui.createGroupBox(Control::PreviewFrame, 5, 5, 175, 231, "Preview Window");
    ui.createGroupBox(Control::SequencerFrame, 184, 5, 167, 231, "Sequencer");
    ui.createGroupBox(Control::ShapesFrame, 355, 5, 170, 231, "Shapes and Delay");

    ui.createOption(Control::Browser, 35, 189, 55, 15, "Browser");
    ui.setValue(Control::Browser, 1);
    ui.createOption(Control::Projector, 95, 189, 65, 15, "Projector");

    ui.setItemState(Control::Sequencer, 0, 1);
    addShortcuts(ui);
    return true;
}

} // namespace visemer
