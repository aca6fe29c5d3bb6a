// Project files and scripts written without a window, byte for byte as the
// editor writes them.

#include "exchange/ProjectDocument.h"
#include "exchange/TimingFormats.h"
#include "tests/support/Files.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

using testing::goldenFile;
using testing::readWholeFile;

// The editor's three-row example: "A" 2, "Closed" with no delay, "TH" 1.
Timing threeRows() {
    Timing timing;
    timing.rows = {{"A", "2"}, {"Closed", ""}, {"TH", "1"}};
    timing.fps = "30";
    timing.browser = true;
    timing.audio = "/voice/take1.wav";
    return timing;
}

TEST(ProjectDocument, WritesTheEditorsFilesByteForByte) {
    testing::TempDir dir;
    Timing timing = threeRows();
    ASSERT_TRUE(writeProject(dir.file("a.vsq"), timing));
    EXPECT_EQ(readWholeFile(dir.file("a.vsq")), goldenFile("three-rows.vsq"));
    ASSERT_TRUE(writeScript(dir.file("a.as"), timing));
    EXPECT_EQ(readWholeFile(dir.file("a.as")), goldenFile("three-rows.as"));
    timing.reduced = true;
    ASSERT_TRUE(writeProject(dir.file("a.mou"), timing));
    EXPECT_EQ(readWholeFile(dir.file("a.mou")), goldenFile("three-rows.mou"));
}

TEST(ProjectDocument, AProjectSurvivesTheTripThroughJsonByteForByte) {
    testing::TempDir dir;
    for (const char* name : {"three-rows.vsq", "three-rows.mou"}) {
        const auto reading = readProject(std::string(VISEMER_GOLDEN_DIR) + "/" + name);
        ASSERT_TRUE(reading) << name;
        const Timing back = readTimingJson(writeTimingJson(reading->timing));
        ASSERT_TRUE(writeProject(dir.file(name), back));
        EXPECT_EQ(readWholeFile(dir.file(name)), goldenFile(name)) << name;
    }
}

TEST(ProjectDocument, ReadsAsTheEditorOpens) {
    testing::TempDir dir;
    {
        std::ofstream file(dir.file("odd.vsq"), std::ios::binary);
        file << "[total frames]\nframes=4x\n[Shapes]\n2 = O\n1 = A\n1 = E\n[Delays]\n1 =  3 \n"
                "[Timing]\nTiming = yes\n";
    }
    const auto reading = readProject(dir.file("odd.vsq"));
    ASSERT_TRUE(reading);
    EXPECT_EQ(reading->timing.rows,
              (std::vector<TimingRow>{{"A", "3 "}, {"O", ""}, {"", ""}, {"", ""}}));
    EXPECT_EQ(reading->framesText, "4x");
    EXPECT_FALSE(reading->timing.browser) << "only \"1\" is Browser";
    EXPECT_FALSE(reading->timing.reduced) << "it has a Timing group";
    EXPECT_EQ(reading->timing.fps, "");

    {
        std::ofstream file(dir.file("huge.vsq"), std::ios::binary);
        file << "[Total Frames]\nFrames = 99999999\n";
    }
    const auto huge = readProject(dir.file("huge.vsq"));
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->timing.rows.size(), 1'000'000u);
    EXPECT_EQ(huge->framesAsked, 99999999);

    EXPECT_FALSE(readProject(dir.file("missing.vsq")));
    EXPECT_FALSE(readProject(dir.path())) << "a folder";
}

TEST(ProjectDocument, AFailedWriteKeepsTheOldFile) {
    testing::TempDir dir;
    EXPECT_FALSE(writeProject(dir.file("no/such/folder.vsq"), threeRows()));
    EXPECT_FALSE(writeScript(dir.path(), threeRows()));

    // Files the disk cannot take whole, over old ones.
    const std::string project = dir.file("old.vsq");
    const std::string script = dir.file("old.as");
    ASSERT_TRUE(writeProject(project, threeRows()));
    ASSERT_TRUE(writeScript(script, threeRows()));
    const std::string oldProject = readWholeFile(project);
    const std::string oldScript = readWholeFile(script);
    Timing large = threeRows();
    large.rows.resize(5000, {"Closed", "12"});
    bool projectWritten = true;
    bool scriptWritten = true;
    ASSERT_TRUE(testing::withFileSizeLimit(4096, [&] {
        projectWritten = writeProject(project, large);
        scriptWritten = writeScript(script, large);
    }));
    EXPECT_FALSE(projectWritten);
    EXPECT_FALSE(scriptWritten);
    EXPECT_EQ(readWholeFile(project), oldProject);
    EXPECT_EQ(readWholeFile(script), oldScript);
}

} // namespace
} // namespace visemer
