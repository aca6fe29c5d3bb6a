#include "app/AboutWindow.h"
#include "ids/MenuIds.h"
#include "tests/support/Editor.h"

namespace visemer::testing {
namespace {

class AboutAndHelp : public Editor {
protected:
    void openAbout() {
        ui.chooseMenu(MenuId::About);
        settle();
        ASSERT_NE(ui.window(Window::About), nullptr);
    }
};

TEST_F(AboutAndHelp, AboutOpensOwnedCentredAndDisablesTheMainWindow) {
    openAbout();
    const auto* about = ui.window(Window::About);
    EXPECT_EQ(about->title, "About - Visemer");
    EXPECT_EQ(about->flags, 0xC80002u);
    EXPECT_EQ(about->owner, Window::Main);
    const Rect main = ui.windowRect(Window::Main);
    EXPECT_EQ(about->rect.x, main.x + main.width / 2 - 320 / 2);
    EXPECT_EQ(about->rect.y, main.y + main.height / 2 - 115 / 2);
    EXPECT_FALSE(ui.isWindowEnabled(Window::Main));

    EXPECT_EQ(ui.controlsInCreationOrder(Window::About),
              (std::vector<int>{500, 502, 503, 504, 505, 506, 507}));
    EXPECT_EQ(ui.control(Control::AboutPicture)->image, ui.imageOf(20));
    EXPECT_EQ(ui.control(Control::AboutTitle)->text, "Visemer v1.02");
    EXPECT_EQ(ui.control(Control::AboutTitle)->font, Font::AboutTitle);
    EXPECT_EQ(ui.font(Font::AboutTitle)->flags, 0x104);
    EXPECT_EQ(ui.font(Font::AboutTitle)->points, 10);
    EXPECT_EQ(ui.control(Control::MakerLink)->rect, (Rect{167, 40, 200, 20}));
    EXPECT_EQ(ui.control(Control::MakerLink)->linkColour.blue, 255);
    EXPECT_EQ(ui.control(Control::AboutNotice)->rect, (Rect{190, 95, 200, 30}));
}

TEST_F(AboutAndHelp, WhileAboutIsOpenTheMainWindowIgnoresEverything) {
    openAbout();
    ui.pressKey(Key::Escape);
    ui.pressKey(Key::F1);
    ui.pressKey('A');
    ui.chooseMenu(MenuId::About);
    ui.clickCloseBox(Window::Main);
    ui.clickRow(Control::Sequencer, 3);
    settle();
    EXPECT_FALSE(program.loop().quitting());
    EXPECT_EQ(label(0), "");
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_TRUE(ui.shellOpens().empty());
}

TEST_F(AboutAndHelp, ClosingAboutGivesTheMainWindowBack) {
    openAbout();
    ui.clickCloseBox(Window::About);
    ui.pressKey('A');
    settle();
    EXPECT_EQ(ui.window(Window::About), nullptr);
    EXPECT_FALSE(program.loop().quitting());
    EXPECT_TRUE(ui.isWindowEnabled(Window::Main));
    EXPECT_EQ(ui.activeWindow(), Window::Main);
    EXPECT_EQ(ui.currentWindow(), Window::Main);
    EXPECT_EQ(label(0), "A") << "the main window's shortcuts work again";

    openAbout();
    EXPECT_NE(ui.control(Control::AboutTitle), nullptr) << "each opening builds it afresh";
}

TEST_F(AboutAndHelp, EachLeftClickOnALinkOpensItsPageOnce) {
    openAbout();
    ui.click(Control::MakerLink);
    ui.click(Control::MakerLink, ClickType::Right);
    ui.moveWindow(Window::About);
    ui.click(Control::ScriptAuthorLink);
    ui.click(Control::MakerLink);
    settle();
    ASSERT_EQ(ui.shellOpens().size(), 3u);
    EXPECT_EQ(ui.shellOpens()[0].target, AboutWindow::kMakerAddress);
    EXPECT_EQ(ui.shellOpens()[1].target, AboutWindow::kScriptAuthorAddress);
    EXPECT_EQ(ui.shellOpens()[2].target, AboutWindow::kMakerAddress);
    EXPECT_NE(ui.window(Window::About), nullptr) << "the About window stays open";
}

TEST_F(AboutAndHelp, HelpHandsTheHelpFileToTheDesktopEachTime) {
    ui.pressKey(Key::F1);
    ui.chooseMenu(MenuId::Help);
    settle();
    ASSERT_EQ(ui.shellOpens().size(), 2u);
    for (const auto& opened : ui.shellOpens()) {
        EXPECT_EQ(opened.target, "Help.chm");
        EXPECT_EQ(opened.parameters, "");
        EXPECT_EQ(opened.folder, "");
    }
}

TEST_F(AboutAndHelp, AWindowThatCannotOpenChangesNothing) {
    ui.refuseWindows();
    ui.chooseMenu(MenuId::About);
    ui.pressKey('E');
    settle();
    EXPECT_TRUE(ui.isWindowEnabled(Window::Main));
    EXPECT_EQ(label(0), "E");
}

} // namespace
} // namespace visemer::testing
