#include "tool/BatchCommand.h"

#include "timeline/PlaybackRate.h"
#include "tool/BatchDraft.h"
#include "tool/BatchPlan.h"
#include "tool/BatchReport.h"
#include "tool/Draft.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"
#include "tool/Progress.h"
#include "tool/TimingFiles.h"
#include "voice/SpokenText.h"
#include "voice/VoiceError.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <map>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace visemer::tool {
namespace {

constexpr int kMostJobs = 256;

std::atomic<int> stopSignal{0};

void askToStop(int signal) {
    stopSignal = signal;
}

// Each line's language as espeak-ng names it; a line whose code it does
// not know fails. espeak-ng is loaded only when a line asks for a
// language other than the dictionary's.
void checkLanguages(std::vector<BatchLine>& lines) {
    std::optional<SpokenText> spoken;
    std::map<std::string, std::optional<std::string>> known;
    for (BatchLine& line : lines) {
        const std::string code = line.settings.language;
        if (code == kDictionaryLanguage)
            continue;
        if (!known.count(code)) {
            if (!spoken)
                spoken.emplace();
            const auto language = spoken->language(code);
            known[code] = language ? std::optional<std::string>(language->code) : std::nullopt;
        }
        if (const auto& named = known[code])
            line.settings.language = *named;
        else if (line.problem.empty())
            line.problem =
                "unknown language " + code + "; visemer-tool draft --language list names them all";
    }
}

std::string clockText(double seconds) {
    const long whole = static_cast<long>(seconds + 0.5);
    char text[32];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

enum class Shown { Bar, Json, Nothing };

} // namespace

bool wantsBatch(const Arguments& arguments) {
    for (const char* option : {"list", "jobs", "shard", "report", "force", "dry-run", "progress"})
        if (arguments.has(option))
            return true;
    const auto& names = arguments.positional();
    return names.size() > 1 || (names.size() == 1 && isFolder(names[0]));
}

int runDraftBatch(const Arguments& arguments) {
    for (const char* single : {"to", "text"})
        if (arguments.has(single))
            throw UsageError(std::string("--") + single +
                             " is for one clip; a batch writes projects, and finds each clip's "
                             "text beside it or in its list");
    if (arguments.positional().empty() && !arguments.has("list"))
        throw UsageError("no clip, folder or --list named");

    BatchSources sources;
    sources.names = arguments.positional();
    sources.list = arguments.value("list");
    sources.outputFolder = arguments.value("output");
    sources.settings.fps =
        arguments.number("fps", PlaybackRate::kLowestFps, PlaybackRate::kHighestFps)
            .value_or(PlaybackRate::kHighestFps);
    sources.settings.browser = !arguments.has("projector");
    if (const auto language = arguments.value("language"))
        sources.settings.language = *language;
    if (sources.outputFolder && *sources.outputFolder == kStandardOutput)
        throw UsageError("a batch writes projects into a folder, not to standard output");
    if (sources.outputFolder && !isFolder(*sources.outputFolder) &&
        (::access(sources.outputFolder->c_str(), F_OK) == 0 || formatOfPath(*sources.outputFolder)))
        throw UsageError("-o names the folder a batch writes its projects into, and " +
                         *sources.outputFolder + " is " +
                         (::access(sources.outputFolder->c_str(), F_OK) == 0 ? "not a folder"
                                                                             : "named as a file"));

    BatchOptions options;
    const unsigned processors = processorsAvailable();
    options.jobs = static_cast<std::size_t>(
        arguments.number("jobs", 1, kMostJobs).value_or(static_cast<int>(processors)));
    options.force = arguments.has("force");
    options.dryRun = arguments.has("dry-run");
    Shown shown = Shown::Bar;
    if (const auto progress = arguments.value("progress")) {
        if (*progress == "json")
            shown = Shown::Json;
        else if (*progress == "none")
            shown = Shown::Nothing;
        else if (*progress != "bar")
            throw UsageError("--progress takes bar, json or none");
    }
    const Shard shard = shardNamed(arguments.value("shard").value_or("0/1"));
    const std::optional<std::string> reportPath = arguments.value("report");
    if (reportPath)
        checkOutput(*reportPath, {});

    std::vector<BatchLine> lines = linesOfShard(planBatch(sources), shard);
    try {
        checkLanguages(lines);
    } catch (const VoiceError& error) {
        throw InputError(error.what());
    }

    Progress bar(options.dryRun ? "planning" : "drafting");
    const auto started = std::chrono::steady_clock::now();
    std::size_t failed = 0;
    std::map<LineStatus, std::size_t> counts;
    options.finished = [&](const LineOutcome& outcome, std::size_t done) {
        ++counts[outcome.status];
        if (outcome.status == LineStatus::Failed) {
            ++failed;
            bar.done();
            if (shown != Shown::Json)
                std::fprintf(stderr, "visemer-tool: %s: %s\n", outcome.clip.c_str(),
                             outcome.reason.c_str());
        }
        if (shown == Shown::Json) {
            std::fprintf(stderr, "%s\n", progressJson(outcome, done, lines.size()).c_str());
            std::fflush(stderr);
        } else if (shown == Shown::Bar) {
            const double elapsed =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            const double left =
                elapsed / static_cast<double>(done) * static_cast<double>(lines.size() - done);
            bar.show(static_cast<double>(done) / static_cast<double>(lines.size()),
                     std::to_string(done) + "/" + std::to_string(lines.size()) + " clips, " +
                         clockText(left) + " left");
        }
    };
    stopSignal = 0;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, askToStop);
    options.stop = &stopSignal;
    options.stopped = [&](int signal) {
        bar.done();
        std::fprintf(stderr,
                     "visemer-tool: stopped; the lines finished are recorded, and drafting again "
                     "carries on from there\n");
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    };

    const std::vector<LineOutcome> outcomes = runBatch(lines, options);
    bar.done();
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, SIG_DFL);
    Progress::clearOnInterrupt();

    if (reportPath) {
        const std::vector<LineOutcome> ordered = worstFirst(outcomes);
        writeWholeFile(*reportPath,
                       isJsonReport(*reportPath) ? reportJson(ordered) : reportTsv(ordered));
    }
    std::string summary;
    for (const LineStatus status :
         {LineStatus::Drafted, LineStatus::ToDraft, LineStatus::UpToDate,
          LineStatus::KeptCorrections, LineStatus::NeedsALook, LineStatus::Failed})
        if (counts[status] > 0)
            summary += (summary.empty() ? ": " : ", ") + std::to_string(counts[status]) + " " +
                       statusName(status);
    std::fprintf(stderr, "visemer-tool: %s%s\n", counted(outcomes.size(), "clip").c_str(),
                 summary.c_str());
    if (failed > 0) {
        std::fprintf(stderr, "visemer-tool: %zu of %zu failed%s\n", failed, outcomes.size(),
                     reportPath ? "; the report says why" : "");
        return kBadInput;
    }
    return kSuccess;
}

} // namespace visemer::tool
