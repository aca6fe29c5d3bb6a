#include "ids/MenuIds.h"
#include "media/AudioCommands.h"
#include "tests/support/Editor.h"
#include "tests/support/Files.h"

namespace visemer::testing {
namespace {

class LoadAudioCommand : public Editor {};

TEST_F(LoadAudioCommand, RecordsTheChosenClipInTheRelayFile) {
    media.playable.insert("/home/anim/voice.wav");
    ui.answerFileDialog("/home/anim/voice.wav");
    ui.chooseMenu(MenuId::LoadAudio);
    settle();
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_FALSE(ui.fileDialogs()[0].save);
    EXPECT_EQ(ui.fileDialogs()[0].title, "Open File...");
    EXPECT_EQ(ui.fileDialogs()[0].defaultFile, "");
    EXPECT_EQ(ui.fileDialogs()[0].filter, kAudioFilter);
    EXPECT_EQ(ui.fileDialogs()[0].filterIndex, 0);
    EXPECT_EQ(program.audio().path, "/home/anim/voice.wav");
    EXPECT_EQ(media.calls, (std::vector<std::string>{"init", "load /home/anim/voice.wav",
                                                     "load /home/anim/voice.wav"}));
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_EQ(media.plays, 0) << "nothing is heard until the preview";
    EXPECT_EQ(readWholeFile(folder.file("~AUD")), "/home/anim/voice.wav");
}

TEST_F(LoadAudioCommand, AClipThatCannotPlayIsStillRecorded) {
    ui.answerFileDialog("/home/anim/notes.txt");
    ui.chooseMenu(MenuId::LoadAudio);
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "No Audio");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Please (re)select an audio file.");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x30);
    EXPECT_EQ(program.audio().path, "/home/anim/notes.txt");
    EXPECT_EQ(readWholeFile(folder.file("~AUD")), "/home/anim/notes.txt");
}

TEST_F(LoadAudioCommand, CancellingEmptiesThePathAndTheRelayFile) {
    media.playable.insert("/a/long/path/to/the/first/voice.wav");
    ui.answerFileDialog("/a/long/path/to/the/first/voice.wav");
    ui.chooseMenu(MenuId::LoadAudio);
    ui.pressKey(Key::Enter);
    ui.chooseMenu(MenuId::LoadAudio);
    ui.pressKey(Key::Enter);
    settle();
    EXPECT_EQ(program.audio().path, "");
    EXPECT_FALSE(media.loaded) << "the clip that played is released";
    EXPECT_EQ(readWholeFile(folder.file("~AUD")), "");
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    EXPECT_EQ(ui.messageBoxes()[0].text, "Please (re)select an audio file.");
    EXPECT_EQ(ui.messageBoxes()[1].text, "Please select an audio file.");
}

} // namespace
} // namespace visemer::testing
