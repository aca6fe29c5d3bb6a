#include "files/ProjectFile.h"
#include "tests/support/Files.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <vector>

namespace visemer::testing {
namespace {

class ProjectFileTest : public ::testing::Test {
protected:
    // Opens a file holding these bytes.
    void openText(const std::string& bytes) {
        writeBytes(dir_.file("p.vsq"), bytes);
        ASSERT_TRUE(file_.openProject(dir_.file("p.vsq")));
    }
    std::string read(const std::string& group, const std::string& key) {
        file_.selectGroup(group);
        return file_.readKey(key, "<none>");
    }

    TempDir dir_;
    ProjectFile file_;
};

TEST_F(ProjectFileTest, WritesTheThreeRowExampleByteForByte) {
    const std::string path = dir_.file("three.vsq");
    ASSERT_TRUE(file_.createProject(path));
    file_.selectGroup("Total Frames");
    file_.writeKey("Frames", "3");
    file_.selectGroup("FPS");
    file_.writeKey("FPS", "30");
    file_.selectGroup("Timing");
    file_.writeKey("Timing", "1");
    file_.selectGroup("Shapes");
    file_.writeKey("1", "A");
    file_.writeKey("2", "Closed");
    file_.writeKey("3", "TH");
    file_.selectGroup("Delays");
    file_.writeKey("1", "2");
    file_.writeKey("2", "");
    file_.writeKey("3", "1");
    file_.writeKey("", "an empty key writes nothing");
    file_.selectGroup("Audio");
    file_.writeKey("Audio", "/voice/take1.wav");
    file_.closeProject();
    EXPECT_EQ(readWholeFile(path), goldenFile("three-rows.vsq"));

    ASSERT_TRUE(file_.openProject(path));
    EXPECT_EQ(read("Total Frames", "Frames"), "3");
    EXPECT_EQ(read("shapes", "2"), "Closed");
    EXPECT_EQ(read("Delays", "2"), "");
    EXPECT_EQ(read("AUDIO", "audio"), "/voice/take1.wav");
}

TEST_F(ProjectFileTest, KeysAreFoundLeniently) {
    struct Case {
        const char* text;
        const char* group;
        const char* key;
        const char* value;
    } cases[] = {
        {"[Total Frames]\r\nframes=7\r\n", "Total Frames", "Frames", "7"},
        {"[Total Frames]\r\nFRAMES   =    7\r\n", "Total Frames", "Frames", "7"},
        {"[total frames]\nFrames = 7\n", "Total Frames", "Frames", "7"},
        {"[Total Frames]\r\nFrames2 = 7\r\n", "Total Frames", "Frames", "<none>"},
        {"[Total Frames]\r\nFrames\r\n", "Total Frames", "Frames", "<none>"},
        {"[G]\r\nK = trailing  \r\n", "G", "K", "trailing  "},
        {"[G]\r\nK =    leading\r\n", "G", "K", "leading"},
        {"[G]\r\n   K = indented\r\n", "G", "K", "indented"},
        {"[G]\r\nK = first\r\nK = second\r\n", "G", "K", "first"},
        {"[G]\r\n; K = commented\r\nK = real\r\n", "G", "K", "real"},
        {"[G]\r\n   ;K = commented\r\n", "G", "K", "<none>"},
        {"[G]\r\nK = a=b[c];d\r\n", "G", "K", "a=b[c];d"},
        {"[G]\r\n [Other]\r\nK = still G\r\n", "G", "K", "still G"},
        {"[G]\r\n[H]\r\nK = in H\r\n", "G", "K", "<none>"},
        {"[G]\r\nK = one\r\n[G]\r\nK = two\r\n", "G", "K", "one"},
        {"[G]\r\n[G]\r\nK = two\r\n", "G", "K", "<none>"},
        {"K = before\r\n[G]\r\n", "", "K", "before"},
        {"[G]\rK = one\r", "G", "K", "<none>"},
        {"[G\r\nK = open header\r\n", "G\r", "K", "open header"},
        {"[G]x\r\nK = after header\r\n", "G", "K", "after header"},
        {"[G]\r\nK\r\n= no key on this line\r\n", "G", "K", "<none>"},
        {"[G]\r\nK = \r\n", "G", "K", ""},
        {"[G]\r\nK = last line without an end", "G", "K", "last line without an end"},
        {"", "G", "K", "<none>"},
    };
    for (const auto& c : cases) {
        openText(c.text);
        EXPECT_EQ(read(c.group, c.key), c.value) << '"' << c.text << '"';
    }
    const char withNul[] = "[G]\r\nK = cut\0[H]\r\nL = after\r\n";
    openText(std::string(withNul, sizeof withNul - 1));
    EXPECT_EQ(read("G", "K"), "cut") << "the text ends at its first NUL";
    EXPECT_EQ(read("H", "L"), "<none>");
}

// Numbered keys read one after another, as Open reads the rows, give what
// any other order of reading gives: the first line of each key, wherever
// the file puts it.
TEST_F(ProjectFileTest, NumberedKeysReadInOrderFollowTheFirstLineOfEachKey) {
    const std::string text = "[Shapes]\r\n1 = A\r\n2 = B\r\n; a note\r\n2 = X\r\n4 = D\r\n"
                             "3 = C\r\nno key here\r\n 5 = E \r\n6\r\n[Delays]\r\n7 = Z\r\n";
    const std::vector<std::string> expected = {"A", "B", "C", "D", "E ", "-", "-"};
    openText(text);
    file_.selectGroup("Shapes");
    for (int key = 1; key <= 7; ++key)
        EXPECT_EQ(file_.readKey(std::to_string(key), "-"), expected[key - 1]) << key;
    EXPECT_EQ(file_.readKey("2", "-"), "B") << "asked again";

    openText(text);
    file_.selectGroup("Shapes");
    for (int key = 7; key >= 1; --key)
        EXPECT_EQ(file_.readKey(std::to_string(key), "-"), expected[key - 1]) << key;

    openText("[Shapes]\r\n1 = A\r\n01 = Z\r\n2 = B\r\n");
    file_.selectGroup("shapes");
    EXPECT_EQ(file_.readKey("1", "-"), "A");
    EXPECT_EQ(file_.readKey("01", "-"), "Z") << "not a plain number: looked up by name";
    EXPECT_EQ(file_.readKey("2", "-"), "B");
    file_.selectGroup("Shapes");
    EXPECT_EQ(file_.readKey("2", "-"), "B") << "a group selected again starts afresh";
}

TEST_F(ProjectFileTest, GroupSelectionReportsWhatItFound) {
    openText("[Shapes]\r\n1 = A\r\n");
    EXPECT_EQ(file_.selectGroup("Shapes"), 1);
    EXPECT_EQ(file_.selectGroup("Shape"), 0);
    EXPECT_EQ(file_.readKey("1", "default"), "default") << "no group, no keys";
    EXPECT_EQ(file_.selectGroup(""), 0);
    EXPECT_EQ(file_.readKey("", "default"), "default");
}

TEST_F(ProjectFileTest, AnythingOpensAndMissingFilesReadAsEmpty) {
    EXPECT_FALSE(file_.openProject(dir_.file("missing.vsq")));
    EXPECT_EQ(read("Total Frames", "Frames"), "<none>");
    EXPECT_FALSE(file_.openProject(dir_.path()));
    EXPECT_EQ(read("Total Frames", "Frames"), "<none>");

    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>((i * 7919) % 255 + 1));
    openText(binary);
    read("Total Frames", "Frames");

    std::string huge = "[G]\r\nK = ";
    huge.append(20'000'000, 'x');
    huge += "\r\n[Total Frames]\r\nFrames = 9\r\n";
    openText(huge);
    EXPECT_EQ(read("Total Frames", "Frames"), "9");
    EXPECT_EQ(read("G", "K").size(), 20'000'000u);
}

TEST_F(ProjectFileTest, AFileThatCannotBeCreatedIsNotWritten) {
    EXPECT_FALSE(file_.createProject(dir_.file("no/such/folder/p.vsq")));
    file_.selectGroup("G");
    file_.writeKey("K", "V");
    file_.closeProject();
    EXPECT_FALSE(file_.createProject(dir_.path()));
}

} // namespace
} // namespace visemer::testing
