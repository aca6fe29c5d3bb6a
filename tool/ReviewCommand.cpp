#include "exchange/Timing.h"
#include "exchange/Vocabulary.h"
#include "tool/Arguments.h"
#include "tool/BatchPlan.h"
#include "tool/BatchReport.h"
#include "tool/ClipEnvelope.h"
#include "tool/Commands.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"
#include "tool/MouthDrawings.h"
#include "tool/Progress.h"
#include "tool/ReportReading.h"
#include "tool/ReviewPage.h"
#include "tool/TimingFiles.h"
#include "tool/TimingPicture.h"
#include "voice/VoiceError.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <thread>
#include <unistd.h>

namespace visemer::tool {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHelp =
    "usage: visemer-tool review REPORT-OR-FOLDER... -o FOLDER [--width PX] [--jobs N]\n"
    "                           [--images FOLDER]\n"
    "\n"
    "Writes a page to review a batch of drafts in a browser, FOLDER/index.html,\n"
    "with everything it shows beside it and nothing fetched from the network.\n"
    "It lists the lines of reports of draft --report (TSV or JSON; a shard's\n"
    "each, say), or the projects below folders with their ledgers' figures,\n"
    "the worst first, each with its picture (as render draws it), its figures\n"
    "and its clip. A\n"
    "line's Play button plays the clip and shows beside it the mouth drawing\n"
    "of the row under the clip's position, stepping as the editor's preview\n"
    "does. Space plays or stops the chosen line; the arrow keys choose another.\n"
    "\n"
    "  -o, --output FOLDER  where the page goes (made if missing)\n"
    "  --width PX           the pictures' width, 200 to 4000 (default 960)\n"
    "  --jobs N             lines drawn at a time (default: the processors it\n"
    "                       may run on)\n"
    "  --images FOLDER      mouth drawings A.bmp to S.bmp from this folder\n"
    "                       (default: the editor's own)\n"
    "  --help               show this help\n";

constexpr auto kDeferred = AtomicFile::Durability::Deferred;
constexpr char kLetters[] = {'A', 'B', 'C', 'E', 'F', 'L', 'O', 'Q', 'R', 'S'};

std::string numbered(std::size_t index) {
    std::string name = std::to_string(index + 1);
    return std::string(name.size() < 4 ? 4 - name.size() : 0, '0') + name;
}

// A path from a report: as it stands from here, or else from the
// report's own folder.
std::string located(const std::string& path, const std::string& reportFolder) {
    if (path.empty() || path.front() == '/' || fs::exists(path))
        return path;
    const fs::path beside = fs::path(reportFolder) / path;
    return fs::exists(beside) ? beside.string() : path;
}

// The clip put beside the page: a link where the file system allows one,
// else a copy.
bool placeClip(const std::string& clip, const std::string& target) {
    std::error_code error;
    fs::remove(target, error);
    if (::link(clip.c_str(), target.c_str()) == 0)
        return true;
    return fs::copy_file(clip, target, fs::copy_options::overwrite_existing, error);
}

// One line of the page: its project read, its clip put beside the page
// and its picture drawn. A project that cannot be read gives a line that
// says why, with no picture.
ReviewLine reviewLine(const LineOutcome& outcome, std::size_t index, const std::string& output,
                      int width, const MouthDrawings& drawings) {
    ReviewLine line;
    line.outcome = outcome;
    if (outcome.project.empty() || outcome.status == LineStatus::Failed) {
        line.problem = outcome.reason;
        return line;
    }
    try {
        const Timing timing = readProjectFile(outcome.project);
        const std::vector<TimedLabel> rows = timeRows(timing, delayUnitMs(timing));
        for (const TimedLabel& row : rows)
            line.rows.emplace_back(row.startMs, Vocabulary::drawingOf(row.label).value_or(0));
        line.rowsMs = rows.empty() ? 0 : rows.back().endMs;
        std::optional<ClipEnvelope> envelope;
        if (!timing.audio.empty()) {
            try {
                envelope = envelopeOf(timing.audio, {});
                const std::string clip =
                    "clips/" + numbered(index) + fs::path(timing.audio).extension().string();
                if (placeClip(timing.audio, output + "/" + clip))
                    line.clip = clip;
            } catch (const VoiceError&) {
            }
        }
        PictureSpan span;
        span.width = width;
        span.toMs = std::max(line.rowsMs, envelope ? envelope->lengthMs : 0.0);
        span.title = fs::path(outcome.project).filename().string();
        const std::string picture = "pictures/" + numbered(index) + ".png";
        writeWholeFile(output + "/" + picture,
                       drawTiming(timing, envelope ? &*envelope : nullptr, drawings, span).png(),
                       kDeferred);
        line.picture = picture;
    } catch (const InputError& failure) {
        line.problem = failure.what();
    }
    return line;
}

} // namespace

int runReview(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(
        words, {{"output", true}, {"width", true}, {"images", true}, {"jobs", true}});
    arguments.expectPositional(1, std::numeric_limits<std::size_t>::max());
    const auto output = arguments.value("output");
    if (!output || *output == kStandardOutput)
        throw UsageError("name the folder the page goes into with -o");
    const int width = arguments.number("width", 200, 4000).value_or(960);
    const auto jobs = static_cast<std::size_t>(
        arguments.number("jobs", 1, 256).value_or(static_cast<int>(processorsAvailable())));
    // Several reports (one a shard, say) or folders make one page.
    std::vector<LineOutcome> outcomes;
    std::string sources;
    for (const std::string& source : arguments.positional()) {
        std::vector<LineOutcome> read;
        if (fs::is_directory(source)) {
            read = projectsBelow(source);
        } else {
            read = readReport(source);
            for (LineOutcome& outcome : read)
                outcome.project = located(outcome.project, fs::path(source).parent_path().string());
        }
        outcomes.insert(outcomes.end(), read.begin(), read.end());
        sources += (sources.empty() ? "" : ", ") + fs::path(source).filename().string();
    }
    outcomes = worstFirst(std::move(outcomes));
    MouthDrawings drawings = MouthDrawings::builtIn();
    if (const auto folder = arguments.value("images"))
        drawings = MouthDrawings::fromFolder(*folder);

    std::error_code error;
    for (const char* part : {"", "/pictures", "/clips", "/mouths"})
        if (fs::create_directories(*output + part, error); error)
            throw InputError("cannot make the folder " + *output + part + ": " + error.message());
    for (const char letter : kLetters)
        if (const Canvas* drawing = drawings.of(letter))
            writeWholeFile(*output + "/mouths/" + letter + ".png", drawing->png(), kDeferred);

    // Each line's clip is decoded and its picture drawn on one of `jobs`
    // threads; the page lists them in the report's order whatever the
    // threads' own.
    std::vector<ReviewLine> lines(outcomes.size());
    std::atomic<std::size_t> next{0}, done{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < outcomes.size(); i = next++) {
            lines[i] = reviewLine(outcomes[i], i, *output, width, drawings);
            ++done;
        }
    };
    std::vector<std::thread> workers;
    for (std::size_t i = 0; i < std::min<std::size_t>(jobs, outcomes.size()); ++i)
        workers.emplace_back(work);
    Progress progress("drawing");
    while (done < outcomes.size()) {
        progress.show(static_cast<double>(done) / static_cast<double>(outcomes.size()),
                      std::to_string(done) + "/" + std::to_string(outcomes.size()) + " lines");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    for (std::thread& worker : workers)
        worker.join();
    const auto unreadable = static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(), [](const ReviewLine& line) {
            return line.picture.empty() && line.outcome.status != LineStatus::Failed &&
                   !line.outcome.project.empty();
        }));
    progress.done();
    // The pictures and clips reach the disk before the page that names them.
    if (!syncFileSystemOf(*output))
        throw InputError("cannot sync the pictures in " + *output + ": " + systemReason());
    const std::string page = *output + "/index.html";
    writeWholeFile(page, reviewPage(lines, "Review of " + sources));
    std::fprintf(stderr, "visemer-tool: %s to review in %s\n",
                 counted(lines.size(), "line").c_str(), page.c_str());
    if (unreadable > 0) {
        warn(counted(unreadable, "project") + " could not be read; the page says why");
        return kBadInput;
    }
    return kSuccess;
}

} // namespace visemer::tool
