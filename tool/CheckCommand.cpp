#include "exchange/ProjectDocument.h"
#include "media/gst/GstMediaPlayer.h"
#include "timeline/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool check PROJECT.vsq\n"
    "\n"
    "Reports what the editor will make of a project file, without changing it:\n"
    "its rows, labels that are not among the 30, empty or odd delays, the FPS\n"
    "entry and timing it selects, and whether its audio clip loads.\n"
    "\n"
    "  --help  show this help\n";

// Rows named in a report line; the rest are counted.
constexpr std::size_t kRowsNamed = 10;

class RowList {
public:
    explicit RowList(std::string what) : what_(std::move(what)) {}
    void add(std::size_t row, const std::string& text) {
        if (count_++ < kRowsNamed)
            names_ += std::string(names_.empty() ? "" : ", ") + std::to_string(row + 1) +
                      (text.empty() ? "" : " \"" + text + "\"");
    }
    void print() const {
        if (count_ == 0)
            return;
        std::printf(
            "%s: %zu (row%s %s%s)\n", what_.c_str(), count_, count_ == 1 ? "" : "s", names_.c_str(),
            count_ > kRowsNamed ? (" and " + std::to_string(count_ - kRowsNamed) + " more").c_str()
                                : "");
    }
    std::size_t count() const { return count_; }

private:
    std::string what_;
    std::string names_;
    std::size_t count_ = 0;
};

bool plainNumber(const std::string& text) {
    return !text.empty() && writeDecimal(readDecimal(text)) == text;
}

void reportFps(const ProjectReading& reading) {
    const std::string& fps = reading.timing.fps;
    if (!reading.hasFps || fps.empty()) {
        std::printf("fps: none selected (the preview does not step)\n");
        return;
    }
    const int value = readDecimal(fps);
    if (plainNumber(fps) && value >= kLowestFps && value <= kHighestFps)
        std::printf("fps: %s\n", fps.c_str());
    else
        std::printf("fps: \"%s\" is not in the list; the editor keeps the entry it had\n",
                    fps.c_str());
}

void reportAudio(const std::string& audio) {
    if (audio.empty()) {
        std::printf("audio: none\n");
        return;
    }
    GstMediaPlayer player;
    player.InitMedia();
    const bool loads = player.LoadMedia(audio);
    player.FreeMedia();
    std::printf("audio: %s (%s)%s\n", audio.c_str(), loads ? "loads" : "does not load",
                !audio.empty() && audio.front() != '/'
                    ? "; a relative path is looked up from the editor's working folder"
                    : "");
}

} // namespace

int runCheck(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(words, {});
    arguments.expectPositional(1, 1);
    const std::string& path = arguments.positional()[0];
    const auto reading = readProject(path);
    if (!reading)
        throw InputError("cannot read " + path + ": " + std::strerror(errno));
    const Timing& timing = reading->timing;

    std::printf("rows: %zu", timing.rows.size());
    if (reading->framesText != writeDecimal(static_cast<std::int64_t>(timing.rows.size())))
        std::printf(" (\"Frames = %s\"%s)", reading->framesText.c_str(),
                    reading->framesAsked > static_cast<std::int64_t>(timing.rows.size())
                        ? "; the editor opens no more than this"
                        : "");
    std::printf("\n");
    if (timing.reduced)
        std::printf("kind: a reduced file, rows only: no FPS entry is selected, \"Projector\" "
                    "is checked and there is no audio\n");

    RowList unknown("labels outside the 30"), empty("empty labels"), noDelay("empty delays"),
        odd("delays that are not plain numbers"), negative("delays below zero");
    for (std::size_t row = 0; row < timing.rows.size(); ++row) {
        const TimingRow& cells = timing.rows[row];
        if (cells.label.empty())
            empty.add(row, "");
        else if (!PhonemeTable::find(cells.label))
            unknown.add(row, cells.label);
        if (cells.delay.empty())
            noDelay.add(row, "");
        else if (!plainNumber(cells.delay))
            odd.add(row, cells.delay);
        else if (readDecimal(cells.delay) < 0)
            negative.add(row, cells.delay);
    }
    for (const RowList* list : {&unknown, &empty, &noDelay, &odd, &negative})
        list->print();

    if (!timing.reduced) {
        reportFps(*reading);
        std::printf("timing: %s%s\n", timing.browser ? "Browser" : "Projector",
                    reading->hasTiming && !timing.browser && reading->timingText != "0"
                        ? (" (\"" + reading->timingText + "\" counts as Projector)").c_str()
                        : "");
        const double unit = delayUnitMs(timing);
        if (unit > 0) {
            double total = 0;
            for (const TimedLabel& row : timeRows(timing, unit))
                total = row.endMs;
            std::printf("delay step: %.3f ms; the rows last %.3f s\n", unit, total / 1000);
        }
        reportAudio(timing.audio);
    }
    return kSuccess;
}

} // namespace visemer::tool
