// The real media player on clips made at test time by tests/media/make-fixtures.

#include "media/gst/GstMediaPlayer.h"
#include "app/Program.h"
#include "ids/Controls.h"
#include "tests/support/FakeToolkit.h"
#include "tests/support/TempDir.h"

#include "timeline/PlaybackRate.h"

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

// A picture or a video chosen through "All files": the player makes no
// window of its own for the pictures, so nothing it might pick for them can
// take the editor down. The sound of a video plays like any clip.
TEST_F(GstMediaPlayerTest, TakesPicturesAndVideosWithoutShowingThem) {
    EXPECT_FALSE(player_.LoadMedia(fixture("cover.png")));
    EXPECT_FALSE(player_.LoadMedia(fixture("silent-video.avi")));
    EXPECT_FALSE(player_.hasClip());

    ASSERT_TRUE(player_.LoadMedia(fixture("talking-video.avi")));
    player_.PlayMedia(0);
    bool heard = false;
    bool ended = false;
    for (int tries = 0; tries < 300 && !ended; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const bool playing = player_.playbackPositionMs().has_value();
        heard = heard || playing;
        ended = heard && !playing;
    }
    EXPECT_TRUE(heard) << "the video's sound plays";
    EXPECT_TRUE(ended) << "and comes to its end";
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

// The preview walk on the real player, with a toolkit whose sleeps really
// sleep: it takes about as long as its rows ask, whether the clip ends
// before the last row or plays on after it, for every format.
TEST_F(GstMediaPlayerTest, ThePreviewTakesTheTimeItsRowsAsk) {
    struct Clip {
        const char* name;
        int longerTimeline; // rows of 71.43 ms that outlast the clip
    };
    const Clip clips[] = {{"pcm8.wav", 10},   {"pcm16.wav", 10},   {"pcm24.wav", 10},
                          {"pcm32.wav", 10},  {"float32.wav", 10}, {"extensible.wav", 10},
                          {"adpcm.wav", 10},  {"cbr.mp3", 32},     {"vbr.mp3", 32},
                          {"vorbis.webm", 16}};
    const double unit = PlaybackRate::stepMs(1, PlaybackRate::delayUnit(30, -2));
    for (const Clip& clip : clips) {
        for (const int rows : {3, clip.longerTimeline}) {
            testing::FakeToolkit ui;
            SystemSteadyClock clock;
            Program program(ui, player_, clock);
            ASSERT_TRUE(program.start());
            ui.onSleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
            while (ui.itemCount(Control::Sequencer) > rows)
                ui.removeItem(Control::Sequencer, ui.itemCount(Control::Sequencer) - 1);
            while (ui.itemCount(Control::Sequencer) < rows)
                ui.addItem(Control::Sequencer, -1,
                           std::to_string(ui.itemCount(Control::Sequencer) + 1));
            for (int row = 0; row < rows; ++row) {
                ui.setItemText(Control::Sequencer, row, "A", 1);
                ui.setItemText(Control::Sequencer, row, "1", 2);
            }
            program.audio().path = fixture(clip.name);
            ui.pressKey(Key::Enter);
            const auto started = std::chrono::steady_clock::now();
            while (ui.inputLeft() > 0 || ui.hasPendingEvent())
                program.loop().runPass();
            const double took = std::chrono::duration<double, std::milli>(
                                    std::chrono::steady_clock::now() - started)
                                    .count();
            // A generous bound: the clip's start, a loaded machine.
            EXPECT_LT(took, rows * unit + 250 + 250) << clip.name << ", " << rows << " rows";
            EXPECT_GT(took, rows * unit - 20) << clip.name << ", " << rows << " rows";
            EXPECT_TRUE(ui.messageBoxes().empty()) << clip.name;
            program.shutdown();
        }
    }
}

} // namespace
} // namespace visemer
