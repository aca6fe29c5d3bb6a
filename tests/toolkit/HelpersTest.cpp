#include "toolkit/DialogPaths.h"
#include "toolkit/FileFilter.h"
#include "toolkit/KeyChord.h"
#include "toolkit/PendingEvents.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

TEST(FileFilter, LabelsAndPatternsComeInPairs) {
    const auto entries = parseFileFilter(
        "Audio (*.wav), (*.mp3)|*.wav;*.mp3|WAV (*.wav)|*.wav|MP3 (*.mp3)|*.mp3|All files "
        "(*.*)|*.*");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].label, "Audio (*.wav), (*.mp3)");
    EXPECT_EQ(entries[0].patterns, (std::vector<std::string>{"*.wav", "*.mp3"}));
    EXPECT_EQ(entries[3].label, "All files (*.*)");
    EXPECT_EQ(entries[3].patterns, (std::vector<std::string>{"*.*"}));

    EXPECT_TRUE(parseFileFilter("").empty());
    const auto dangling = parseFileFilter("Actionscript (*.as)|*.as|Lonely");
    ASSERT_EQ(dangling.size(), 2u);
    EXPECT_TRUE(dangling[1].patterns.empty());
}

TEST(DialogPaths, DefaultFileSplitsAtTheLastSlash) {
    struct Case {
        std::string defaultFile, folder, name;
    } cases[] = {
        {"", "", ""},
        {"take1.vsq", "", "take1.vsq"},
        {"/home/anim/take1.vsq", "/home/anim", "take1.vsq"},
        {"/take1.vsq", "/", "take1.vsq"},
        {"/home/anim/", "/home/anim", ""},
        {"/home/bad:name", "/home", ""},
        {"/home/what?", "/home", ""},
        {"/home/tab\tname", "/home", ""},
    };
    for (const auto& c : cases) {
        const auto start = splitDefaultFile(c.defaultFile);
        EXPECT_EQ(start.folder, c.folder) << c.defaultFile;
        EXPECT_EQ(start.name, c.name) << c.defaultFile;
    }
}

TEST(DialogPaths, FolderRequesterTrimsItsStartAndEndsItsAnswerWithASlash) {
    EXPECT_EQ(folderRequesterStart("/"), "/");
    EXPECT_EQ(folderRequesterStart("/home/anim/"), "/home/anim");
    EXPECT_EQ(folderRequesterStart("/home/anim"), "/home/anim");
    EXPECT_EQ(withTrailingSeparator("/home/anim"), "/home/anim/");
    EXPECT_EQ(withTrailingSeparator("/"), "/");
    EXPECT_EQ(withTrailingSeparator(""), "");
}

TEST(KeyChord, SplitsCodeAndModifiers) {
    const auto chord = KeyChord::fromShortcut(0x2004E);
    EXPECT_EQ(chord.code, 'N');
    EXPECT_EQ(chord.modifiers, Key::Ctrl);
    EXPECT_EQ(chord.shortcut(), 0x2004E);
}

TEST(PendingEvents, MergesOneControlsEventsAndKeepsEverythingElse) {
    PendingEvents pending;
    pending.raise({EventKind::Control, 1, ClickType::Left, 0});
    pending.raise({EventKind::Control, 1, ClickType::None, 0});
    pending.raise({EventKind::Menu, 65, ClickType::None, 0});
    pending.raise({EventKind::Menu, 65, ClickType::None, 0});
    pending.raise({EventKind::Control, 1, ClickType::None, 0});
    pending.raise({EventKind::Control, 2, ClickType::None, 0});
    ASSERT_EQ(pending.size(), 5u) << "two presses of a key are two commands";
    EXPECT_EQ(pending.take().type, ClickType::Left) << "the click type survives the merge";
    EXPECT_EQ(pending.take().kind, EventKind::Menu);
    EXPECT_EQ(pending.take().kind, EventKind::Menu);
    EXPECT_EQ(pending.take().number, 1);
    EXPECT_EQ(pending.take().number, 2);
    EXPECT_TRUE(pending.empty());
    EXPECT_EQ(pending.take().kind, EventKind::None);
}

TEST(EventState, NumberIsSharedAndTypeResetsAtEveryWait) {
    EventState state;
    state.beginWait();
    state.deliver({EventKind::Control, 504, ClickType::Left, 1});
    EXPECT_EQ(state.lastNumber(), 504);
    EXPECT_EQ(state.lastType(), ClickType::Left);
    state.beginWait();
    state.deliver({EventKind::Close, 0, ClickType::None, 1});
    EXPECT_EQ(state.lastNumber(), 504) << "a close event keeps the number";
    EXPECT_EQ(state.lastType(), ClickType::None);
    EXPECT_EQ(state.lastWindow(), 1);
    state.deliver({EventKind::Menu, 12, ClickType::None, 0});
    EXPECT_EQ(state.lastNumber(), 12);
}

} // namespace
} // namespace visemer
