#include "app/EventLoop.h"
#include "app/Shutdown.h"
#include "ids/Controls.h"
#include "ids/MenuIds.h"
#include "tests/support/FakeToolkit.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace visemer {
namespace {

using testing::FakeToolkit;

class EventLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(ui_.createWindow(Window::Main, 0, 0, 530, 260, 0xCA0001, "Visemer"));
        ui_.useControlList(Window::Main);
        ui_.createListView(Control::Sequencer, 189, 20, 156, 165, "#", 35, 0x40010008);
        ui_.addItem(Control::Sequencer, -1, "1");
        ui_.addItem(Control::Sequencer, -1, "2");
        ui_.createButton(Control::PlayButton, 25, 206, 50, 25, "Play");
        ui_.createMenuBar(kMainMenu, Window::Main);
        ui_.addMenuTitle("File");
        ui_.addMenuItem(MenuId::New, "New               Ctrl+N");
        ui_.addMenuItem(MenuId::Exit, "Exit                 Esc");
        ui_.addShortcut(Window::Main, 0x2004E, MenuId::New);
        ui_.addShortcut(Window::Main, Key::Escape, MenuId::Exit);
        ui_.addShortcut(Window::Main, 'A', 'A');
    }

    void record(const std::string& what) { ran_.push_back(what); }

    FakeToolkit ui_;
    EventLoop loop_{ui_};
    std::vector<std::string> ran_;
};

TEST_F(EventLoopTest, RoutesMenuAndControlEventsToTheirCommands) {
    loop_.onMenu(MenuId::New, [this] { record("new"); });
    loop_.onMenu('A', [this] { record("A"); });
    loop_.onControl(Control::Sequencer, [this] { record("select"); });
    loop_.onControl(Control::PlayButton, [this] { record("play"); });

    ui_.chooseMenu(MenuId::New);
    ui_.pressKey(0x2004E);
    ui_.pressKey('A');
    ui_.pressKey(Key::Shift | 'A');
    ui_.clickRow(Control::Sequencer, 1);
    ui_.clickRow(Control::Sequencer, 1, ClickType::Right);
    ui_.click(Control::PlayButton);
    ui_.pressKey('B');  // a key without a shortcut
    ui_.chooseMenu(11); // an identifier without an item
    ui_.moveWindow(Window::Main);
    ui_.pressKey(Key::Escape);
    loop_.run();

    EXPECT_EQ(ran_, (std::vector<std::string>{"new", "new", "A", "select", "select", "play"}));
    EXPECT_TRUE(loop_.quitting());
    EXPECT_EQ(ui_.dryWaits(), 0) << "Esc ended the loop";
}

TEST_F(EventLoopTest, UnregisteredIdentifiersAndControlsAreIgnored) {
    ui_.chooseMenu(MenuId::New);
    ui_.click(Control::PlayButton);
    ui_.clickRow(Control::Sequencer, 0);
    loop_.run();
    EXPECT_EQ(ui_.dryWaits(), 1) << "only the script running out ended it";
}

TEST_F(EventLoopTest, ASelectionMadeByACommandReachesItsHandlerOnTheNextPass) {
    int selections = 0;
    loop_.onMenu('A', [this] {
        for (int row = 0; row < 2; ++row)
            ui_.setValue(Control::Sequencer, row);
        record("walk");
    });
    loop_.onControl(Control::Sequencer, [&] {
        ++selections;
        record("select " + std::to_string(ui_.getValue(Control::Sequencer)));
    });
    ui_.pressKey('A');
    ui_.pressKey(Key::Escape);
    loop_.run();
    EXPECT_EQ(ran_, (std::vector<std::string>{"walk", "select 1"}));
    EXPECT_EQ(selections, 1);
}

TEST_F(EventLoopTest, CloseBoxOfTheMainWindowQuitsAndAboutsOnlyClosesIt) {
    ASSERT_TRUE(ui_.createWindow(Window::About, 0, 0, 320, 115, 0xC80002, "About", Window::Main));
    loop_.onAboutClosed([this] {
        record("about closed");
        ui_.destroyWindow(Window::About);
    });
    ui_.clickCloseBox(Window::About);
    loop_.runPass();
    EXPECT_FALSE(loop_.quitting());
    EXPECT_EQ(ran_, (std::vector<std::string>{"about closed"}));

    ui_.clickCloseBox(Window::Main);
    loop_.runPass();
    EXPECT_TRUE(loop_.quitting());
}

TEST_F(EventLoopTest, LinksFireOnlyOnTheirOwnLeftClick) {
    ASSERT_TRUE(ui_.createWindow(Window::About, 0, 0, 320, 115, 0xC80002, "About", Window::Main));
    ui_.useControlList(Window::About);
    ui_.createLink(Control::MakerLink, 167, 40, 200, 20, "site", {0, 0, 255});
    ui_.createLink(Control::ScriptAuthorLink, 157, 75, 200, 20, "script", {0, 0, 255});
    loop_.onLinkClick(Control::MakerLink, [this] { record("maker"); });
    loop_.onLinkClick(Control::ScriptAuthorLink, [this] { record("script"); });

    ui_.click(Control::MakerLink);
    ui_.moveWindow(Window::About); // the last control is still 504, but this is no click
    ui_.click(Control::MakerLink, ClickType::Right);
    ui_.click(Control::ScriptAuthorLink);
    ui_.click(Control::MakerLink);
    for (int pass = 0; pass < 5; ++pass)
        loop_.runPass();
    EXPECT_EQ(ran_, (std::vector<std::string>{"maker", "script", "maker"}));
}

TEST_F(EventLoopTest, ADisabledMainWindowRaisesNothing) {
    loop_.onMenu('A', [this] { record("A"); });
    ui_.setWindowEnabled(Window::Main, false);
    ui_.pressKey('A');
    ui_.pressKey(Key::Escape);
    ui_.clickCloseBox(Window::Main);
    loop_.run();
    EXPECT_TRUE(ran_.empty());
    EXPECT_EQ(ui_.dryWaits(), 1);
}

TEST(ShutdownSequence, ReleasesInStageOrderOnce) {
    std::vector<std::string> order;
    ShutdownSequence shutdown;
    using Stage = ShutdownSequence::Stage;
    shutdown.add(Stage::OpenFiles, [&] { order.push_back("files"); });
    shutdown.add(Stage::Toolkit, [&] { order.push_back("images, windows, fonts"); });
    shutdown.add(Stage::AudioClips, [&] { order.push_back("audio"); });
    shutdown.add(Stage::ProjectFile, [&] { order.push_back("project"); });
    shutdown.run();
    shutdown.run();
    EXPECT_EQ(order,
              (std::vector<std::string>{"project", "audio", "images, windows, fonts", "files"}));
}

} // namespace
} // namespace visemer
