// The editor's Open and the tool's reader are two readers of one format:
// over the golden files and odd files of every kind, both must see the
// same rows and the same settings.

#include "exchange/ProjectDocument.h"
#include "ids/MenuIds.h"
#include "tests/support/Editor.h"
#include "tests/support/Files.h"
#include "toolkit/ToolkitTypes.h"

#include <fstream>
#include <gtest/gtest.h>

namespace visemer::testing {
namespace {

class ReaderParity : public Editor {
protected:
    // Opens the file in the editor and reads it with the tool's reader;
    // every difference fails the test, named with the file.
    void expectTheSameReading(const std::string& path, const std::string& name) {
        ui.answerFileDialog(path);
        ui.chooseMenu(MenuId::Open);
        settle();
        const auto reading = readProject(path);
        ASSERT_TRUE(reading) << name;
        const Timing& timing = reading->timing;
        ASSERT_EQ(static_cast<std::size_t>(rows()), timing.rows.size()) << name;
        for (std::size_t row = 0; row < timing.rows.size(); ++row) {
            const int at = static_cast<int>(row);
            EXPECT_EQ(label(at), timing.rows[row].label) << name << ", row " << row + 1;
            EXPECT_EQ(delay(at), timing.rows[row].delay) << name << ", row " << row + 1;
        }
        // An FPS the list does not hold leaves the entry it had; the tool
        // knows such a file gives no rate.
        if (delayUnitMs(timing) > 0) {
            EXPECT_EQ(ui.getText(Control::FpsList), timing.fps) << name;
        } else if (!timing.reduced) {
            EXPECT_NE(ui.getText(Control::FpsList), timing.fps) << name;
        }
        EXPECT_EQ(ui.getValue(Control::Browser) == 1, timing.browser) << name;
        EXPECT_EQ(program.audio().path, timing.audio) << name;
        for (const auto& box : ui.messageBoxes())
            EXPECT_EQ(box.title, "No Audio") << name << ": " << box.text;
    }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = folder.file(name);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(ReaderParity, GoldenFilesAndTheFuzzersOddOnes) {
    for (const char* name : {"three-rows.vsq", "three-rows.mou"})
        expectTheSameReading(std::string(VISEMER_GOLDEN_DIR) + "/" + name, name);
    for (const char* name : {"lenient.vsq", "shapes-missing.vsq", "three-rows.vsq"})
        expectTheSameReading(std::string(VISEMER_FUZZ_CORPUS_DIR) + "/open_command/" + name, name);
}

TEST_F(ReaderParity, OddSpellingsLineEndsAndSettings) {
    const std::pair<const char*, const char*> files[] = {
        {"upper.vsq", "[TOTAL FRAMES]\nFRAMES = 2\n[fps]\nfps = 24\n[TIMING]\ntiming = 0\n"
                      "[shapes]\n1 = a\n2 = E\n[DELAYS]\n1 = 3\n2 = 4\n[audio]\naudio = x.wav\n"},
        {"cr.vsq", "[Total Frames]\rFrames = 2\r[Shapes]\r1 = O\r2 = U\r[Delays]\r1 = 1\r"},
        {"twice.vsq", "[Total Frames]\nFrames = 2\nFrames = 9\n[Shapes]\n2 = B\n1 = A\n1 = Z\n"
                      "[Shapes]\n1 = Q\n[Delays]\n2 = 7\n"},
        {"no-frames-value.vsq", "[Total Frames]\nFrames =\n[Shapes]\n1 = A\n"},
        {"negative.vsq", "[Total Frames]\nFrames = -4\n[Shapes]\n1 = A\n"},
        {"odd-fps.vsq", "[Total Frames]\nFrames = 1\n[FPS]\nFPS = 31\n[Timing]\nTiming = yes\n"
                        "[Shapes]\n1 = Closed\n[Delays]\n1 = 2x\n"},
        {"spaced.vsq", "  [Total Frames]  \r\n  Frames=3 \r\n[Shapes]\r\n 1=TH\r\n2 =  SH \r\n"
                       "3= \r\n[Delays]\r\n1 = -1\r\n3 = 99999999999\r\n"},
        {"text.vsq", "hello world\n"},
        {"empty.vsq", ""},
    };
    for (const auto& [name, bytes] : files)
        expectTheSameReading(write(name, bytes), name);
}

} // namespace
} // namespace visemer::testing
