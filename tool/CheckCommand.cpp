#include "exchange/ProjectDocument.h"
#include "media/gst/ClipPipeline.h"
#include "project/ProjectLayout.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "timeline/PlaybackRate.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"

#include <cstdio>

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool check PROJECT.vsq\n"
    "\n"
    "Reports what the editor will make of a project file, without changing it:\n"
    "its rows, labels that are not among the 30, empty or odd delays, the FPS\n"
    "entry and timing it selects, and whether its audio clip loads.\n"
    "\n"
    "Exit status: 0 when the editor opens the file as it is; 1 when it would\n"
    "change or ignore anything reported (or the file is no project); 2 for\n"
    "wrong use.\n"
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
    // True when it printed anything.
    bool print() const {
        if (count_ == 0)
            return false;
        std::printf(
            "%s: %zu (row%s %s%s)\n", what_.c_str(), count_, count_ == 1 ? "" : "s", names_.c_str(),
            count_ > kRowsNamed ? (" and " + std::to_string(count_ - kRowsNamed) + " more").c_str()
                                : "");
        return true;
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

// Each returns true when it found something the editor would change or
// ignore.
bool reportFps(const ProjectReading& reading) {
    const std::string& fps = reading.timing.fps;
    if (!reading.hasFps || fps.empty()) {
        std::printf("fps: none selected (the preview does not step)\n");
        return true;
    }
    const int value = readDecimal(fps);
    if (plainNumber(fps) && value >= PlaybackRate::kLowestFps &&
        value <= PlaybackRate::kHighestFps) {
        std::printf("fps: %s\n", fps.c_str());
        return false;
    }
    std::printf("fps: \"%s\" is not in the list; the editor keeps the entry it had\n", fps.c_str());
    return true;
}

bool reportTiming(const ProjectReading& reading) {
    const bool odd = !reading.hasTiming || (reading.timingText != ProjectLayout::kBrowserTiming &&
                                            reading.timingText != "0");
    std::string how;
    if (!reading.hasTiming)
        how = " (no [Timing] in the file)";
    else if (odd)
        how = " (\"" + reading.timingText + "\" counts as Projector)";
    std::printf("timing: %s%s\n", reading.timing.browser ? "Browser" : "Projector", how.c_str());
    return odd;
}

bool reportAudio(const std::string& audio) {
    if (audio.empty()) {
        std::printf("audio: none\n");
        return false;
    }
    const bool loads = ClipPipeline::loads(audio);
    std::printf("audio: %s (%s)%s\n", audio.c_str(), loads ? "loads" : "does not load",
                audio.front() != '/'
                    ? "; a relative path is looked up from the editor's working folder"
                    : "");
    return !loads;
}

} // namespace

int runCheck(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(words, {});
    arguments.expectPositional(1, 1);
    const std::string& path = arguments.positional()[0];
    const std::string bytes = readWholeFile(path);
    const bool byteOrderMark = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const auto reading = readProject(path);
    if (!reading)
        throw InputError("cannot read " + path + ": " + systemReason());
    if (!reading->hasFrames && !byteOrderMark)
        throw InputError(path + " is not a project: " + whatItLooksLike(bytes));
    const Timing& timing = reading->timing;
    std::size_t findings = 0;

    if (byteOrderMark) {
        std::printf("byte-order mark: the file starts with one, which hides its first group "
                    "([Frames]) from the editor\n");
        ++findings;
    }
    std::printf("rows: %zu", timing.rows.size());
    if (reading->framesText != writeDecimal(static_cast<std::int64_t>(timing.rows.size()))) {
        std::printf(" (\"Frames = %s\"%s)", reading->framesText.c_str(),
                    reading->framesAsked > static_cast<std::int64_t>(timing.rows.size())
                        ? "; the editor opens no more than this"
                        : "");
        ++findings;
    }
    std::printf("\n");
    if (reading->rowsBeyondFrames) {
        std::printf("rows after the last frame: the file has labels or delays numbered past "
                    "its Frames count; the editor leaves them out\n");
        ++findings;
    }
    if (timing.reduced)
        std::printf("kind: a reduced file, rows only: no FPS entry is selected, \"Projector\" "
                    "is checked and there is no audio\n");

    RowList unknown("labels outside the 30"), empty("empty labels"), noDelay("empty delays"),
        odd("delays that are not plain numbers"), negative("delays below zero"),
        beyond("delays beyond what the editor holds");
    for (std::size_t row = 0; row < timing.rows.size(); ++row) {
        const TimingRow& cells = timing.rows[row];
        if (cells.label.empty())
            empty.add(row, "");
        else if (!PhonemeTable::find(cells.label))
            unknown.add(row, cells.label);
        const std::int32_t delay = readDecimal(cells.delay);
        if (cells.delay.empty())
            noDelay.add(row, "");
        else if (beyondDecimalRange(cells.delay))
            beyond.add(row, cells.delay);
        else if (!plainNumber(cells.delay))
            odd.add(row, cells.delay);
        else if (delay < 0)
            negative.add(row, cells.delay);
    }
    for (const RowList* list : {&unknown, &empty, &noDelay, &odd, &negative, &beyond})
        findings += list->print() ? 1 : 0;

    if (!timing.reduced) {
        findings += reportFps(*reading) ? 1 : 0;
        findings += reportTiming(*reading) ? 1 : 0;
        const double unit = delayUnitMs(timing);
        if (unit > 0) {
            double total = 0;
            for (const TimedLabel& row : timeRows(timing, unit))
                total = row.endMs;
            std::printf("delay step: %.3f ms; the rows last %.3f s\n", unit, total / 1000);
        }
        findings += reportAudio(timing.audio) ? 1 : 0;
    }
    std::fflush(stdout);
    if (findings == 0)
        return kSuccess;
    std::fprintf(stderr, "visemer-tool check: %s: %s the editor would change or ignore\n",
                 path.c_str(), counted(findings, "finding").c_str());
    return kBadInput;
}

} // namespace visemer::tool
