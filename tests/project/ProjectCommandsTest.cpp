// New, Open, Save and Save As through the event loop on the fake toolkit.

#include "ids/MenuIds.h"
#include "files/TextFiles.h"
#include "tests/support/Editor.h"
#include "tests/support/Files.h"
#include "tests/support/ImageFiles.h"

#include <filesystem>
#include <sys/stat.h>

namespace visemer::testing {
namespace {

class ProjectCommandsTest : public Editor {
protected:
    void fillThreeRows() {
        while (rows() > 3)
            ui.removeItem(Control::Sequencer, rows() - 1);
        setRow(0, "A", "2");
        setRow(1, "Closed", "");
        setRow(2, "TH", "1");
        writeBytes(folder.file("~AUD"), "/voice/take1.wav");
    }
    void saveAs(const std::string& path, int filter = 0) {
        ui.answerFileDialog(path, filter);
        ui.chooseMenu(MenuId::SaveAs);
        settle();
    }
    void open(const std::string& path) {
        ui.answerFileDialog(path);
        ui.chooseMenu(MenuId::Open);
        settle();
    }
    bool saveAsChecked() const { return ui.isMenuItemChecked(kMainMenu, MenuId::SaveAs) == 1; }
};

TEST_F(ProjectCommandsTest, SaveAsWritesTheWholeProject) {
    fillThreeRows();
    saveAs(folder.file("three"));
    ASSERT_EQ(ui.fileDialogs().size(), 1u);
    EXPECT_TRUE(ui.fileDialogs()[0].save);
    EXPECT_EQ(ui.fileDialogs()[0].title, "Save As...");
    EXPECT_EQ(ui.fileDialogs()[0].filter, "VSQ (*.vsq)|*.vsq");
    EXPECT_EQ(readWholeFile(folder.file("three.vsq")), goldenFile("three-rows.vsq"));
    EXPECT_EQ(readWholeFile(folder.file("~DIR")), folder.file("three.vsq"));
    EXPECT_TRUE(saveAsChecked());
    EXPECT_EQ(rows(), 3) << "the walk leaves the rows it found";
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(program.timeline().currentRow(), 0);
}

TEST_F(ProjectCommandsTest, ExtensionsFollowTheChosenFilter) {
    struct Case {
        const char* typed;
        int filter;
        const char* written;
    } cases[] = {
        {"plain", 0, "plain.vsq"},
        {"dotted.", 0, "dotted..vsq"},
        {"take.vsq", 0, "take.vsq"},
        {"take.txt", 0, "take.txt"},
        {"folder.d/name", 0, "folder.d/name.vsq"},
        {"quoted.\"x", 0, "quoted.\"x.vsq"},
    };
    std::filesystem::create_directories(folder.file("folder.d"));
    for (const auto& c : cases) {
        saveAs(folder.file(c.typed), c.filter);
        EXPECT_TRUE(std::filesystem::exists(folder.file(c.written))) << c.typed;
        EXPECT_EQ(readWholeFile(folder.file("~DIR")), folder.file(c.written));
    }
}

TEST_F(ProjectCommandsTest, SaveNeedsAProjectOfThisRun) {
    writeBytes(folder.file("~DIR"), folder.file("old.vsq"));
    ui.pressKey(Key::Ctrl | 'S');
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "Save");
    EXPECT_EQ(ui.messageBoxes()[0].text, "No file exist, please use ''Save As...'' first.");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x30);
    EXPECT_FALSE(std::filesystem::exists(folder.file("old.vsq")));
    EXPECT_EQ(rows(), 25);
}

TEST_F(ProjectCommandsTest, SaveWritesAgainWhereSaveAsWrote) {
    fillThreeRows();
    saveAs(folder.file("take"));
    setRow(0, "O", "4");
    ui.chooseMenu(MenuId::Save);
    settle();
    ProjectFile reader;
    reader.openProject(folder.file("take.vsq"));
    reader.selectGroup("Shapes");
    EXPECT_EQ(reader.readKey("1", ""), "O");
    EXPECT_TRUE(ui.messageBoxes().empty());
}

TEST_F(ProjectCommandsTest, OpenBringsBackEverythingSaved) {
    fillThreeRows();
    ui.pickEntry(Control::FpsList, 12); // "24"
    saveAs(folder.file("take"));
    ui.pickEntry(Control::FpsList, 0);
    ui.click(Control::Projector);
    ui.pressKey(Key::Insert);
    media.playable.insert("/voice/take1.wav");
    open(folder.file("take.vsq"));

    const auto& dialog = ui.fileDialogs().back();
    EXPECT_FALSE(dialog.save);
    EXPECT_EQ(dialog.title, "Open File...");
    EXPECT_EQ(dialog.filter, "VSQ (*.vsq)|*.vsq");
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(label(0), "A");
    EXPECT_EQ(delay(0), "2");
    EXPECT_EQ(label(1), "Closed");
    EXPECT_EQ(delay(1), "");
    EXPECT_EQ(label(2), "TH");
    EXPECT_EQ(cell(2, 0), "3");
    EXPECT_EQ(totalFrames(), "3");
    EXPECT_EQ(ui.getText(Control::FpsList), "24");
    EXPECT_EQ(ui.getValue(Control::Browser), 1);
    EXPECT_EQ(program.audio().path, "/voice/take1.wav");
    EXPECT_TRUE(media.loaded);
    EXPECT_EQ(ui.clipboard(), folder.file("take.vsq"));
    EXPECT_EQ(ui.sleeps(), (std::vector<int>{100}));
    EXPECT_TRUE(ui.messageBoxes().empty());
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(shownShape(), 0) << "the first row became current: A";
}

TEST_F(ProjectCommandsTest, OpenOfAMissingNameEmptiesTheTimeline) {
    open(folder.file("nothing.vsq"));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(totalFrames(), "0");
    EXPECT_EQ(ui.getValue(Control::FpsList), -1);
    EXPECT_EQ(ui.getValue(Control::Projector), 1);
    EXPECT_TRUE(saveAsChecked());
    EXPECT_EQ(readWholeFile(folder.file("~DIR")), folder.file("nothing.vsq"));
    EXPECT_EQ(ui.clipboard(), folder.file("nothing.vsq"));
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "No Audio");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Unable to load... ");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x30);

    ui.pressKey(Key::Delete);
    ui.pressKey('A');
    ui.pressKey(Key::Insert);
    settle();
    EXPECT_EQ(rows(), 1) << "an empty timeline stays usable";
    EXPECT_EQ(totalFrames(), "1");
}

TEST_F(ProjectCommandsTest, CancelledRequestersChangeNothing) {
    setRow(4, "E", "3");
    ui.answerFileDialog("");
    ui.chooseMenu(MenuId::Open);
    ui.answerFileDialog("");
    ui.chooseMenu(MenuId::SaveAs);
    settle();
    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(label(4), "E");
    EXPECT_FALSE(saveAsChecked());
    EXPECT_FALSE(std::filesystem::exists(folder.file("~DIR")));
    EXPECT_EQ(selectedRow(), 0);
}

TEST_F(ProjectCommandsTest, NewOffersToSaveTheFramesFirst) {
    fillThreeRows();
    ui.pickEntry(Control::FpsList, 12);
    ui.answerMessageBox(MessageBoxButton::Yes);
    ui.answerFileDialog(folder.file("three"));
    ui.pressKey(Key::Ctrl | 'N');
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "New");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Save your current work?");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x23);
    EXPECT_EQ(ui.fileDialogs()[0].filter, "Mou (*.mou)|*.mou");
    EXPECT_EQ(readWholeFile(folder.file("three.mou")), goldenFile("three-rows.mou"));
    EXPECT_FALSE(std::filesystem::exists(folder.file("~DIR"))) << "the path is not kept";
    EXPECT_FALSE(saveAsChecked());

    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(label(0), "");
    EXPECT_EQ(totalFrames(), "25");
    EXPECT_EQ(ui.getText(Control::FpsList), "24") << "settings stay";

    ui.answerMessageBox(MessageBoxButton::Yes);
    ui.answerFileDialog(folder.file("again.mou"));
    ui.chooseMenu(MenuId::New);
    settle();
    EXPECT_TRUE(std::filesystem::exists(folder.file("again.mou.mou")));
}

TEST_F(ProjectCommandsTest, NewAnswersNoCancelAndACancelledSave) {
    setRow(0, "A", "1");
    ui.answerMessageBox(MessageBoxButton::Cancel);
    ui.chooseMenu(MenuId::New);
    settle();
    EXPECT_EQ(label(0), "A") << "Cancel keeps everything";

    ui.answerMessageBox(MessageBoxButton::Yes);
    ui.answerFileDialog("");
    ui.chooseMenu(MenuId::New);
    settle();
    EXPECT_EQ(label(0), "") << "a cancelled save still starts afresh";
    EXPECT_EQ(rows(), 25);

    setRow(0, "B", "1");
    media.playable.insert("/voice/take1.wav");
    program.audio().path = "/voice/take1.wav";
    ui.answerMessageBox(MessageBoxButton::No);
    ui.chooseMenu(MenuId::New);
    ui.pressKey(Key::Enter);
    settle();
    EXPECT_EQ(label(0), "");
    EXPECT_EQ(program.audio().path, "") << "a clip that loads is let go";
    EXPECT_EQ(ui.messageBoxes().back().text, "Please select an audio file.");
}

TEST_F(ProjectCommandsTest, HostileFrameCountsAreBounded) {
    program.projectCommands().setFrameLimit(500);
    struct Case {
        const char* frames;
        int rows;
    } cases[] = {
        {"2147483647", 500},
        {"999999999999999999999999999999", 500},
        {"-5", 0},
        {"12x", 12},
    };
    for (const auto& c : cases) {
        writeBytes(folder.file("hostile.vsq"),
                   std::string("[Total Frames]\r\nFrames = ") + c.frames + "\r\n");
        open(folder.file("hostile.vsq"));
        EXPECT_EQ(rows(), c.rows) << c.frames;
        EXPECT_EQ(totalFrames(), std::to_string(c.rows));
    }
}

// A save that could not be written says so; everything else the command
// does stays as it was.
TEST_F(ProjectCommandsTest, ASaveThatFailsSaysSo) {
    fillThreeRows();
    std::filesystem::create_directories(folder.file("a folder.vsq"));
    ASSERT_EQ(mkfifo(folder.file("pipe.vsq").c_str(), 0600), 0);
    for (const std::string& target :
         {folder.file("missing/three"), folder.file("a folder"), folder.file("pipe")}) {
        const std::size_t before = ui.messageBoxes().size();
        saveAs(target);
        ASSERT_EQ(ui.messageBoxes().size(), before + 1) << target;
        EXPECT_EQ(ui.messageBoxes().back().title, "Save");
        EXPECT_EQ(ui.messageBoxes().back().text, "Unable to save... ");
        EXPECT_EQ(ui.messageBoxes().back().flags, 0x30);
        EXPECT_EQ(readWholeFile(folder.file("~DIR")), target + ".vsq");
        EXPECT_TRUE(saveAsChecked());

        ui.pressKey(Key::Ctrl | 'S');
        settle();
        ASSERT_EQ(ui.messageBoxes().size(), before + 2) << "Save fails aloud too: " << target;
        EXPECT_EQ(ui.messageBoxes().back().text, "Unable to save... ");
    }

    saveAs(folder.file("three"));
    const std::size_t shown = ui.messageBoxes().size();
    ui.pressKey(Key::Ctrl | 'S');
    settle();
    EXPECT_EQ(ui.messageBoxes().size(), shown) << "a save that worked shows nothing";
}

TEST_F(ProjectCommandsTest, NewsSaveThatFailsSaysSoAndStillStartsAfresh) {
    fillThreeRows();
    ui.answerMessageBox(MessageBoxButton::Yes);
    ui.answerFileDialog(folder.file("missing/take"));
    ui.chooseMenu(MenuId::New);
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    EXPECT_EQ(ui.messageBoxes()[1].title, "Save");
    EXPECT_EQ(ui.messageBoxes()[1].text, "Unable to save... ");
    EXPECT_EQ(ui.messageBoxes()[1].flags, 0x30);
    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(label(0), "");
}

TEST_F(ProjectCommandsTest, OpenSaysWhenItKeptFewerFramesThanTheFileHas) {
    program.projectCommands().setFrameLimit(500);
    writeBytes(folder.file("long.vsq"),
               "[Total Frames]\r\nFrames = 2147483647\r\n[Shapes]\r\n500 = E\r\n");
    open(folder.file("long.vsq"));
    EXPECT_EQ(rows(), 500);
    EXPECT_EQ(label(499), "E") << "the rows are in before the message";
    ASSERT_EQ(ui.messageBoxes().size(), 2u) << "the warning, then the clip that would not load";
    EXPECT_EQ(ui.messageBoxes()[0].title, "Open");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Only the first 500 frames were opened.");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x30);

    writeBytes(folder.file("fits.vsq"), "[Total Frames]\r\nFrames = 500\r\n");
    open(folder.file("fits.vsq"));
    EXPECT_EQ(ui.messageBoxes().size(), 3u) << "only the clip's message";
}

TEST_F(ProjectCommandsTest, OddFilesOpenWithoutHarm) {
    std::string binary;
    for (int i = 0; i < 2000; ++i)
        binary.push_back(static_cast<char>(i * 31 % 256));
    writeBytes(folder.file("binary.vsq"), binary);
    writeBytes(folder.file("cr-only.vsq"), "[Total Frames]\rFrames = 3\r[Shapes]\r1 = A\r");
    writeBytes(folder.file("lf-only.vsq"), "[Total Frames]\nFrames = 2\n[Shapes]\n1 = A\n2 = O\n");
    std::filesystem::create_directories(folder.file("folder.vsq"));
    for (const char* name : {"binary.vsq", "cr-only.vsq", "folder.vsq"}) {
        open(folder.file(name));
        EXPECT_EQ(rows(), 0) << name;
    }
    open(folder.file("lf-only.vsq"));
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(label(1), "O");
}

TEST_F(ProjectCommandsTest, TextIsBytesOnTheWayOutAndBack) {
    while (rows() > 2)
        ui.removeItem(Control::Sequencer, rows() - 1);
    const std::string odd = "\xC3\xA9t\xC3\xA9 = [x]; \xFF";
    setRow(0, odd, " 3 ");
    setRow(1, "a", "");
    const std::string audio = "/m\xC3\xBAsica/voix.wav";
    writeBytes(folder.file("~AUD"), audio);
    saveAs(folder.file("\xC3\xA9t\xC3\xA9.vsq"));
    open(folder.file("\xC3\xA9t\xC3\xA9.vsq"));
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(label(0), odd);
    EXPECT_EQ(delay(0), "3 ") << "trailing spaces survive; the reader drops leading ones";
    EXPECT_EQ(label(1), "a");
    EXPECT_EQ(program.audio().path, audio);
}

} // namespace
} // namespace visemer::testing
