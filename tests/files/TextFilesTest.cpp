#include "files/TextFiles.h"
#include "files/AtomicFile.h"
#include "tests/support/Files.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace visemer::testing {
namespace {

class TextFilesTest : public ::testing::Test {
protected:
    TempDir dir_;
    TextFiles files_;
};

TEST_F(TextFilesTest, ReadsLinesUpToAnyLineEnd) {
    const std::string path = dir_.file("lines.txt");
    writeBytes(path, std::string("one\r\ntwo\nthree\rfour\0five\r\n\r\nlast", 32));
    ASSERT_TRUE(files_.openFile(0, path));
    for (const char* expected : {"one", "two", "three", "four", "five", "", "last", "", ""})
        EXPECT_EQ(files_.readLine(), expected);
}

TEST_F(TextFilesTest, WrittenTextComesBackWholeAndExact) {
    const std::string path = dir_.file("~DIR");
    writeRelayFile(files_, 0, path, "/home/anim/a much longer path/project.vsq");
    writeRelayFile(files_, 0, path, "/short.vsq");
    EXPECT_EQ(readWholeFile(path), "/short.vsq") << "no tail of the longer path";
    EXPECT_EQ(readRelayFile(files_, 0, path), "/short.vsq");

    const std::string bytes = "/home/\xC3\xA9t\xC3\xA9/voix \xE2\x99\xAA.wav";
    writeRelayFile(files_, 1, dir_.file("~AUD"), bytes);
    EXPECT_EQ(readRelayFile(files_, 1, dir_.file("~AUD")), bytes);

    ASSERT_TRUE(files_.createFile(0, dir_.file("script.as")));
    files_.writeText("del = [0");
    files_.writeText(",2");
    files_.writeText("");
    files_.writeLine("];");
    files_.writeLine("}");
    files_.closeFile(0);
    EXPECT_EQ(readWholeFile(dir_.file("script.as")), "del = [0,2];\r\n}\r\n");
}

TEST_F(TextFilesTest, OpeningAMissingFileMakesAnEmptyOne) {
    EXPECT_EQ(readRelayFile(files_, 0, dir_.file("~DIR")), "");
    EXPECT_TRUE(std::filesystem::exists(dir_.file("~DIR")));
}

TEST_F(TextFilesTest, AFileThatCannotBeCreatedLeavesNoCurrentFile) {
    ASSERT_TRUE(files_.createFile(0, dir_.file("first.txt")));
    EXPECT_FALSE(files_.createFile(1, dir_.file("missing/folder/x.txt")));
    files_.writeText("goes nowhere");
    files_.closeFile(0);
    EXPECT_EQ(readWholeFile(dir_.file("first.txt")), "");
    EXPECT_FALSE(files_.createFile(1, dir_.path()));
}

TEST_F(TextFilesTest, AReadOnlyFileIsLeftAlone) {
    const std::string path = dir_.file("locked.vsq");
    writeBytes(path, "old");
    chmod(path.c_str(), 0444);
    if (access(path.c_str(), W_OK) == 0)
        GTEST_SKIP() << "running as a user who may write anything";
    writeRelayFile(files_, 0, path, "new");
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST_F(TextFilesTest, AReplacementKeepsTheOldFilesPermissionsAndFollowsLinks) {
    const std::string path = dir_.file("shared.vsq");
    writeBytes(path, "old");
    chmod(path.c_str(), 0640);
    const std::string link = dir_.file("link.vsq");
    std::filesystem::create_symlink(path, link);
    writeRelayFile(files_, 0, link, "new");
    EXPECT_EQ(readWholeFile(path), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    struct stat info {};
    stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// A full disk, simulated with a file size limit: the write fails and the
// old file must survive whole, with no temporary file left beside it.
TEST_F(TextFilesTest, AFailedWriteLeavesTheOldFileWhole) {
    const std::string path = dir_.file("project.vsq");
    const std::string old(3000, 'o');
    writeBytes(path, old);

    bool created = false;
    bool committed = false;
    ASSERT_TRUE(withFileSizeLimit(1000, [&] {
        AtomicFile file;
        created = file.create(path);
        if (created)
            file.write(std::string(5000, 'n'));
        committed = created && file.commit();
    }));

    EXPECT_TRUE(created);
    EXPECT_FALSE(committed);
    EXPECT_EQ(readWholeFile(path), old);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.path()))
        ++entries;
    EXPECT_EQ(entries, 1) << "the temporary file is gone";
}

TEST_F(TextFilesTest, AnUnfinishedReplacementLeavesTheOldFileWhole) {
    const std::string path = dir_.file("project.vsq");
    writeBytes(path, "old");
    {
        AtomicFile file;
        ASSERT_TRUE(file.create(path));
        file.write("half of the new");
        EXPECT_EQ(readWholeFile(path), "old") << "nothing shows before the commit";
    }
    EXPECT_EQ(readWholeFile(path), "old");
}

} // namespace
} // namespace visemer::testing
