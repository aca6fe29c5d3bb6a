#include "ids/MenuIds.h"
#include "tests/support/Editor.h"
#include "tests/support/Files.h"
#include "tests/support/ImageFiles.h"

#include <filesystem>

namespace visemer::testing {
namespace {

class ScriptExportTest : public Editor {
protected:
    std::string exportTo(const std::string& name, int filter = 0) {
        ui.answerFileDialog(folder.file(name), filter);
        ui.chooseMenu(MenuId::ExportScript);
        settle();
        return readWholeFile(folder.file(name));
    }
    void keepRows(int count) {
        while (rows() > count)
            ui.removeItem(Control::Sequencer, rows() - 1);
    }
    static std::string line(const std::string& script, int number) {
        std::size_t start = 0;
        for (int n = 1; n < number; ++n)
            start = script.find("\r\n", start) + 2;
        return script.substr(start, script.find("\r\n", start) - start);
    }
};

TEST_F(ScriptExportTest, WritesTheThreeRowExampleByteForByte) {
    keepRows(3);
    setRow(0, "A", "2");
    setRow(1, "Closed", "");
    setRow(2, "TH", "1");
    EXPECT_EQ(exportTo("three.as"), goldenFile("three-rows.as"));
    const auto& dialog = ui.fileDialogs().back();
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(dialog.title, "Save Script As...");
    EXPECT_EQ(dialog.defaultFile, "");
    EXPECT_EQ(dialog.filter, "Actionscript (*.as)|*.as");
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(selectedRow(), 0);
}

TEST_F(ScriptExportTest, AFreshTimelineHasTwentyFiveEmptyEntries) {
    const std::string script = exportTo("fresh.as");
    EXPECT_EQ(line(script, 3), "del = [0" + std::string(25, ',') + "];");
    EXPECT_EQ(line(script, 4), "jmp = [0" + std::string(25, ',') + "];");
    EXPECT_EQ(line(script, 7), "if( faz < 27){");
    EXPECT_EQ(line(script, 15), "}");
    EXPECT_EQ(script.substr(script.size() - 3), "}\r\n");
}

TEST_F(ScriptExportTest, EveryLabelMapsToItsClipFrameAndOtherTextPassesThrough) {
    keepRows(2);
    EXPECT_EQ(line(exportTo("two.as"), 3), "del = [0,,];");
    const char* labels[] = {"Closed", "A",  "I", "B", "M", "P", "E", "F", "V", "TH",     "L",
                            "O",      "Q",  "U", "W", "Y", "C", "G", "H", "K", "R",      "X",
                            "CH",     "SH", "D", "J", "N", "S", "T", "Z", "a", "closed", "Lip"};
    keepRows(0);
    for (const char* label : labels) {
        ui.addItem(Control::Sequencer, -1, std::to_string(rows() + 1));
        setRow(rows() - 1, label, "x");
    }
    const std::string script = exportTo("all.as");
    EXPECT_EQ(line(script, 4), "jmp = [0,1,2,2,3,3,3,4,5,5,6,6,7,8,8,8,8,9,9,9,9,9,9,10,10,10,"
                               "10,10,10,10,10,a,closed,Lip];");
    EXPECT_EQ(
        line(script, 3), "del = [0" + [] {
            std::string cells;
            for (int i = 0; i < 33; ++i)
                cells += ",x";
            return cells;
        }() + "];");
    EXPECT_EQ(line(script, 7), "if( faz < 35){");
}

TEST_F(ScriptExportTest, NamesGainTheirExtensionAndOldScriptsAreReplaced) {
    exportTo("mouth");
    EXPECT_TRUE(std::filesystem::exists(folder.file("mouth.as")));
    exportTo("mouth.");
    EXPECT_TRUE(std::filesystem::exists(folder.file("mouth..as")));
    writeBytes(folder.file("old.txt"), "something else");
    EXPECT_EQ(line(exportTo("old.txt"), 1), "onClipEvent(load){");
}

TEST_F(ScriptExportTest, AnExportThatFailsSaysSo) {
    exportTo("missing/mouth");
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "Export Script");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Unable to save... ");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x30);
    exportTo("mouth");
    EXPECT_EQ(ui.messageBoxes().size(), 1u) << "an export that worked shows nothing";
}

TEST_F(ScriptExportTest, ACancelTouchesNothing) {
    ui.answerFileDialog("");
    ui.chooseMenu(MenuId::ExportScript);
    settle();
    EXPECT_EQ(rows(), 25);
    EXPECT_EQ(selectedRow(), 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1)
        << "only images/ is there";
}

} // namespace
} // namespace visemer::testing
