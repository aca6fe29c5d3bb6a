// Saving under faults: a full disk, a size limit, a kill half way, folders
// that take no new files, hard links, other users' files and long names.
// Each must leave the old file whole or the new one whole, and nothing else.

#include "files/AtomicFile.h"
#include "tests/support/Files.h"
#include "tests/support/ImageFiles.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace visemer::testing {
namespace {

// The lines of a project with this many rows, about 21 bytes a row.
std::string projectRows(int rows) {
    std::string text = "[Shapes]\r\n";
    for (int row = 1; row <= rows; ++row)
        text += std::to_string(row) + " = Closed\r\n";
    return text;
}

class AtomicFileTest : public ::testing::Test {
protected:
    static bool isRoot() { return geteuid() == 0; }
    int entries() const {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder()))
            ++count;
        return count;
    }
    virtual std::string folder() const { return dir_.path(); }
    std::string file(const std::string& name) const { return folder() + "/" + name; }
    static bool save(const std::string& path, const std::string& bytes) {
        AtomicFile out;
        if (!out.create(path))
            return false;
        out.write(bytes);
        return out.commit();
    }

    TempDir dir_;
};

TEST_F(AtomicFileTest, ANewFileAndAReplacementLeaveNothingBeside) {
    EXPECT_TRUE(save(file("take.vsq"), "first"));
    EXPECT_TRUE(save(file("take.vsq"), "second"));
    EXPECT_EQ(readWholeFile(file("take.vsq")), "second");
    EXPECT_EQ(entries(), 1);
}

// The longest names a folder takes, 255 bytes, leave no room for a longer
// temporary name beside them.
TEST_F(AtomicFileTest, TheLongestNamesSave) {
    for (const std::size_t length : {248u, 251u, 255u}) {
        const std::string path = file(std::string(length - 4, 'n') + ".vsq");
        writeBytes(path, "old");
        EXPECT_TRUE(save(path, "new")) << length;
        EXPECT_EQ(readWholeFile(path), "new") << length;
        std::filesystem::remove(path);
    }
    EXPECT_EQ(entries(), 0);
}

TEST_F(AtomicFileTest, AHardLinkedProjectStaysOneFile) {
    writeBytes(file("take.vsq"), "old");
    ASSERT_EQ(link(file("take.vsq").c_str(), file("backup-name.vsq").c_str()), 0);
    EXPECT_TRUE(save(file("take.vsq"), "a longer new text"));
    EXPECT_EQ(readWholeFile(file("backup-name.vsq")), "a longer new text");
    EXPECT_TRUE(save(file("take.vsq"), "short"));
    EXPECT_EQ(readWholeFile(file("backup-name.vsq")), "short") << "the tail is cut";
    EXPECT_EQ(entries(), 2);
}

TEST_F(AtomicFileTest, AnotherUsersFileStaysTheirs) {
    if (!isRoot())
        GTEST_SKIP() << "only root can write a file that another user owns";
    const std::string path = file("theirs.vsq");
    writeBytes(path, "old");
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    EXPECT_TRUE(save(path, "new"));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(readWholeFile(path), "new");
}

TEST_F(AtomicFileTest, AWritableFileInAFolderThatTakesNoNewFiles) {
    if (isRoot())
        GTEST_SKIP() << "root may add files to any folder; the suite runs this case again as "
                        "nobody";
    const std::string path = file("take.vsq");
    writeBytes(path, "old");
    chmod(folder().c_str(), 0555);
    const bool saved = save(path, "new");
    const bool refused = !save(file("other.vsq"), "x");
    chmod(folder().c_str(), 0755);
    EXPECT_TRUE(saved);
    EXPECT_EQ(readWholeFile(path), "new");
    EXPECT_TRUE(refused) << "a new file there still fails";
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicFileTest, AReadOnlyFileAndOddTargetsFail) {
    std::filesystem::create_directories(file("folder.vsq"));
    ASSERT_EQ(mkfifo(file("pipe.vsq").c_str(), 0600), 0);
    EXPECT_FALSE(save(file("folder.vsq"), "x"));
    EXPECT_FALSE(save(file("pipe.vsq"), "x"));
    EXPECT_FALSE(save(file("missing/take.vsq"), "x"));
    if (isRoot())
        return; // root may write anything
    writeBytes(file("locked.vsq"), "old");
    chmod(file("locked.vsq").c_str(), 0444);
    EXPECT_FALSE(save(file("locked.vsq"), "new"));
    EXPECT_EQ(readWholeFile(file("locked.vsq")), "old");
}

// Runs the body in a child process and gives its wait status.
template <typename Body> int inChild(Body body) {
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

TEST_F(AtomicFileTest, ASizeLimitFailsTheSaveAndSparesTheProgram) {
    const std::string path = file("take.vsq");
    const std::string old = projectRows(1000);
    writeBytes(path, old);
    const int status = inChild([&] {
        keepWritesFromEndingTheProgram();
        const rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(save(path, projectRows(100000)) ? 1 : 0);
    });
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must fail";
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_EQ(entries(), 1);
}

TEST_F(AtomicFileTest, AKillHalfWayThroughALongSaveLeavesTheOldFileAlone) {
    const std::string path = file("take.vsq");
    const std::string old = projectRows(10);
    writeBytes(path, old);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const std::string rows = projectRows(1000000);
    const pid_t child = fork();
    if (child == 0) {
        AtomicFile out;
        if (out.create(path)) {
            out.write(rows.substr(0, rows.size() / 2));
            out.write(std::string(70000, ' ')); // past the gathering of writes
        }
        [[maybe_unused]] const auto told = ::write(ready[1], "h", 1);
        pause();
        _exit(0);
    }
    char half = 0;
    ASSERT_EQ(read(ready[0], &half, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_EQ(entries(), 1) << "no temporary file is left behind";
}

// A disk that fills up half way: a small file system of its own, which
// only root can set up.
class FullDiskTest : public AtomicFileTest {
protected:
    void SetUp() override {
        disk_ = dir_.file("disk");
        std::filesystem::create_directories(disk_);
        mounted_ = mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted_)
            GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    }
    void TearDown() override {
        if (mounted_)
            umount(disk_.c_str());
    }
    std::string folder() const override { return disk_; }

    std::string disk_;
    bool mounted_ = false;
};

TEST_F(FullDiskTest, TheOldFileSurvivesWhole) {
    const std::string path = file("take.vsq");
    const std::string old = projectRows(1500); // about 20 KB of 64
    ASSERT_TRUE(save(path, old));
    EXPECT_FALSE(save(path, projectRows(4000)));
    EXPECT_EQ(readWholeFile(path), old);
    EXPECT_EQ(entries(), 1);
    EXPECT_TRUE(save(path, projectRows(100))) << "room again once the failed save is gone";
}

} // namespace
} // namespace visemer::testing
