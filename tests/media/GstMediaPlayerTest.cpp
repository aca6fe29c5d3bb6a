// The real media player on clips made at test time by tests/media/make-fixtures.

#include "media/gst/GstMediaPlayer.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdlib>
#include <dirent.h>
#include <gtest/gtest.h>
#include <thread>

namespace visemer {
namespace {

int threadCount() {
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
}

class GstMediaPlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fixtures_ = new testing::TempDir();
        const std::string command = std::string("bash '") + VISEMER_FIXTURE_SCRIPT + "' '" +
                                    fixtures_->path() + "' > /dev/null 2>&1";
        made_ = std::system(command.c_str()) == 0;
    }
    static void TearDownTestSuite() {
        delete fixtures_;
        fixtures_ = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(made_) << "tests/media/make-fixtures needs sox, lame and gst-launch-1.0";
        player_.InitMedia();
    }
    std::string fixture(const std::string& name) const { return fixtures_->file(name); }

    static testing::TempDir* fixtures_;
    static bool made_;
    GstMediaPlayer player_;
};

testing::TempDir* GstMediaPlayerTest::fixtures_ = nullptr;
bool GstMediaPlayerTest::made_ = false;

TEST_F(GstMediaPlayerTest, LoadsTheClipsAUserIsLikelyToHave) {
    for (const char* name : {"pcm8.wav", "pcm16.wav", "pcm24.wav", "pcm32.wav", "float32.wav",
                             "extensible.wav", "adpcm.wav", "cbr.mp3", "vbr.mp3", "vorbis.webm"}) {
        EXPECT_TRUE(player_.LoadMedia(fixture(name))) << name;
        EXPECT_TRUE(player_.hasClip()) << name;
    }
}

TEST_F(GstMediaPlayerTest, RefusesWhatItCannotPlayAndLeavesNoThreads) {
    // The first load warms the media service up, so what follows measures
    // the refusals alone.
    ASSERT_TRUE(player_.LoadMedia(fixture("pcm16.wav")));
    player_.FreeMedia();
    const int threadsBefore = threadCount();
    for (const std::string& path :
         {std::string(), fixture("missing.wav"), fixture("folder.wav"), fixture("text.mp3"),
          fixture("empty.wav"), std::string("http://127.0.0.1:9/voice.wav"),
          std::string("file://") + fixture("pcm16.wav")}) {
        EXPECT_FALSE(player_.LoadMedia(path)) << path;
        EXPECT_FALSE(player_.hasClip()) << path;
    }
    // Streaming threads of a failed pipeline wind down once it is released.
    for (int tries = 0; tries < 50 && threadCount() > threadsBefore; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_LE(threadCount(), threadsBefore);
}

TEST_F(GstMediaPlayerTest, PlaysFromTheStartAndReportsWhereItIs) {
    ASSERT_TRUE(player_.LoadMedia(fixture("source.wav")));
    EXPECT_FALSE(player_.playbackPositionMs()) << "a loaded clip is silent";
    player_.PlayMedia(0);

    std::optional<double> position;
    for (int tries = 0; tries < 100 && !(position && *position > 100); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        position = player_.playbackPositionMs();
    }
    ASSERT_TRUE(position) << "the clip plays, with or without a sound card";
    EXPECT_GT(*position, 100);
    EXPECT_LT(*position, 2000);

    player_.PlayMedia(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const auto rewound = player_.playbackPositionMs();
    if (rewound) {
        EXPECT_LT(*rewound, *position) << "playing again starts from the beginning";
    }

    player_.FreeMedia();
    EXPECT_FALSE(player_.hasClip());
    EXPECT_FALSE(player_.playbackPositionMs());
}

} // namespace
} // namespace visemer
