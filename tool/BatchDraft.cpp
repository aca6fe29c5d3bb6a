#include "tool/BatchDraft.h"

#include "exchange/ProjectDocument.h"
#include "tool/Arguments.h"
#include "tool/DialogueText.h"
#include "tool/Draft.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <exception>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <thread>

namespace visemer::tool {
namespace {

// How often finished lines are written to the ledgers while a batch runs.
// A project written since the last time is not lost to a kill: the next
// run drafts it again, finds the same bytes and takes it as its own.
constexpr auto kRecordEvery = std::chrono::seconds(1);

// Projects drafted into an output folder keep the clips' folders below it.
void makeFolderOf(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(folderOf(path), error);
    if (error)
        throw InputError("cannot make the folder " + folderOf(path) + ": " + error.message());
}

std::string absolute(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

// Everything a draft is made from but the clip's bytes, which the clip's
// stamp holds.
std::string settingsText(const BatchLine& line, const std::string& dialogue) {
    return std::string(VISEMER_VERSION) + '\n' + absolute(line.clip) + '\n' +
           line.settings.language + '\n' + std::to_string(line.settings.fps) + '\n' +
           (line.settings.browser ? "browser" : "projector") + '\n' + dialogue;
}

struct Prepared {
    std::string dialogue;
    bool hasDialogue = false;
    FileStamp clip;
    std::string inputs;
    LineAction action = LineAction::Draft;
    std::optional<FileStamp> project;
};

// A line's inputs read and compared with its ledger entry. Throws
// InputError for a clip or text that cannot be read.
Prepared prepare(const BatchLine& line, const LedgerEntry* entry, bool force) {
    Prepared prepared;
    if (line.dialogue) {
        prepared.dialogue = *line.dialogue;
        prepared.hasDialogue = true;
    } else if (!line.textFile.empty()) {
        prepared.dialogue = dialogueAsUtf8(readWholeFile(line.textFile), line.textFile);
        prepared.hasDialogue = true;
    }
    const auto clip = stampOf(line.clip, entry ? &entry->clip : nullptr);
    if (!clip) {
        checkInput(line.clip); // says why
        throw InputError("cannot read " + line.clip + ": " + systemReason());
    }
    prepared.clip = *clip;
    prepared.inputs =
        inputsFingerprint(line, prepared.hasDialogue ? &prepared.dialogue : nullptr, *clip);
    prepared.project = stampOf(line.project, entry ? &entry->written : nullptr);
    ProjectNow now = ProjectNow::Missing;
    if (prepared.project)
        now = entry && prepared.project->bytes == entry->written.bytes ? ProjectNow::AsWritten
                                                                       : ProjectNow::Changed;
    prepared.action = actionFor(entry, prepared.inputs, now, force);
    return prepared;
}

DraftFigures figuresOf(const Draft& draft) {
    DraftFigures figures;
    figures.seconds = draft.clipMs / 1000;
    figures.rows = draft.timing.rows.size();
    figures.wordsLeftOut = draft.unknownWords.size() + draft.wordsSkipped;
    figures.wordsNotReached = draft.wordsNotHeard;
    if (draft.dialogueWords > 0)
        figures.confidence =
            1.0 - static_cast<double>(figures.wordsLeftOut + figures.wordsNotReached) /
                      static_cast<double>(draft.dialogueWords);
    return figures;
}

struct Finished {
    std::size_t index;
    std::optional<LedgerEntry> entry; // to record in the project's folder
};

class BatchRun {
public:
    BatchRun(const std::vector<BatchLine>& lines, const BatchOptions& options)
        : lines_(lines), options_(options), outcomes_(lines.size()) {
        for (const BatchLine& line : lines) {
            const std::string folder = folderOf(line.project);
            if (!ledgers_.count(folder))
                ledgers_[folder] = readLedger(folder);
        }
    }

    std::vector<LineOutcome> run() {
        const std::size_t jobs = std::max<std::size_t>(1, std::min(options_.jobs, lines_.size()));
        std::vector<std::thread> workers;
        for (std::size_t i = 0; i < jobs; ++i)
            workers.emplace_back([this] { work(); });
        bool stopped = false;
        std::exception_ptr failure; // a ledger that could not be written
        try {
            stopped = watch();
        } catch (...) {
            failure = std::current_exception();
            abandoned_ = true;
        }
        if (stopped && options_.stopped)
            options_.stopped(options_.stop->load());
        for (std::thread& worker : workers)
            worker.join();
        if (failure)
            std::rethrow_exception(failure);
        std::vector<LineOutcome> outcomes;
        const std::lock_guard<std::mutex> held(mutex_);
        for (std::size_t i = 0; i < lines_.size(); ++i)
            if (ended_.count(i))
                outcomes.push_back(outcomes_[i]);
        return outcomes;
    }

private:
    const LedgerEntry* entryOf(const BatchLine& line) const {
        const auto& ledger = ledgers_.at(folderOf(line.project));
        const auto found = ledger.find(nameOf(line.project));
        return found == ledger.end() ? nullptr : &found->second;
    }

    void work() {
        DraftEngines engines;
        for (;;) {
            if ((options_.stop && options_.stop->load() != 0) || abandoned_)
                return;
            const std::size_t index = next_.fetch_add(1);
            if (index >= lines_.size())
                return;
            Finished finished{index, std::nullopt};
            LineOutcome outcome = draftLine(lines_[index], engines, finished.entry);
            const std::lock_guard<std::mutex> held(mutex_);
            outcomes_[index] = std::move(outcome);
            finished_.push_back(std::move(finished));
            changed_.notify_one();
        }
    }

    LineOutcome draftLine(const BatchLine& line, DraftEngines& engines,
                          std::optional<LedgerEntry>& record) const {
        LineOutcome outcome;
        outcome.clip = line.clip;
        outcome.project = line.project;
        if (!line.problem.empty()) {
            outcome.reason = line.problem;
            return outcome;
        }
        const LedgerEntry* entry = entryOf(line);
        try {
            const Prepared prepared = prepare(line, entry, options_.force);
            return act(line, prepared, entry, engines, record);
        } catch (const std::exception& error) { // InputError, VoiceError and the like
            outcome.reason = error.what();
        }
        return outcome;
    }

    LineOutcome act(const BatchLine& line, const Prepared& prepared, const LedgerEntry* entry,
                    DraftEngines& engines, std::optional<LedgerEntry>& record) const {
        LineOutcome outcome;
        outcome.clip = line.clip;
        outcome.project = line.project;
        if (entry)
            outcome.figures = entry->figures;
        switch (prepared.action) {
        case LineAction::UpToDate:
            outcome.status = LineStatus::UpToDate;
            return outcome;
        case LineAction::KeepCorrections:
            outcome.status = LineStatus::KeptCorrections;
            outcome.reason = "corrected by hand since it was drafted";
            if (entry && entry->newerDraftBeside)
                outcome.reason += "; a draft of its changed clip or text is beside it, " +
                                  draftBeside(line.project);
            return outcome;
        default:
            break;
        }
        if (options_.dryRun) {
            outcome.status = LineStatus::ToDraft;
            return outcome;
        }

        DraftRequest request;
        request.voice = line.clip;
        if (prepared.hasDialogue)
            request.dialogue = prepared.dialogue;
        request.language = line.settings.language;
        request.fps = line.settings.fps;
        request.browser = line.settings.browser;
        Draft draft = draftTiming(request, engines, [](double) {});
        draft.timing.audio = absolute(line.clip);
        const std::string bytes = projectText(draft.timing);
        outcome.figures = figuresOf(draft);

        LedgerEntry written;
        written.project = nameOf(line.project);
        written.clip = prepared.clip;
        written.inputs = prepared.inputs;
        written.figures = *outcome.figures;
        const bool sameAsThere = prepared.project && prepared.project->bytes == fingerprint(bytes);
        if (prepared.action == LineAction::DraftAndCompare && sameAsThere) {
            // Drafted here before, by a run stopped before it could say so.
            written.written = *prepared.project;
            outcome.status = LineStatus::Drafted;
        } else if (prepared.action == LineAction::DraftBeside ||
                   prepared.action == LineAction::DraftAndCompare) {
            const std::string beside = draftBeside(line.project);
            checkOutput(beside, {line.clip});
            writeWholeFile(beside, bytes, AtomicFile::Durability::Deferred);
            outcome.status = LineStatus::NeedsALook;
            outcome.reason = (entry ? "corrected by hand, and its clip or text changed since"
                                    : "a project the batch did not write is there") +
                             std::string("; the new draft is beside it, ") + beside;
            // The project stays the one drafted before, corrected; the
            // inputs are now those of the draft beside it.
            written.written = entry ? entry->written : *prepared.project;
            written.newerDraftBeside = true;
        } else {
            makeFolderOf(line.project);
            checkOutput(line.project, {line.clip});
            writeWholeFile(line.project, bytes, AtomicFile::Durability::Deferred);
            const auto stamp = stampOf(line.project);
            if (!stamp)
                throw InputError("cannot read back " + line.project + ": " + systemReason());
            written.written = *stamp;
            outcome.status = LineStatus::Drafted;
        }
        record = std::move(written);
        return outcome;
    }

    // Reports lines as they end and records them in the ledgers, until
    // every line has ended or a stop is asked for; true for a stop.
    bool watch() {
        std::map<std::string, std::vector<LedgerEntry>> unrecorded;
        auto lastRecorded = std::chrono::steady_clock::now();
        std::size_t done = 0;
        bool stopped = false;
        for (;;) {
            std::deque<Finished> finished;
            {
                std::unique_lock<std::mutex> held(mutex_);
                changed_.wait_for(held, std::chrono::milliseconds(100),
                                  [this] { return !finished_.empty(); });
                finished.swap(finished_);
                for (const Finished& line : finished)
                    ended_.insert(line.index);
            }
            for (Finished& line : finished) {
                ++done;
                if (line.entry)
                    unrecorded[folderOf(lines_[line.index].project)].push_back(
                        std::move(*line.entry));
                if (options_.finished)
                    options_.finished(outcomes_[line.index], done);
            }
            stopped = options_.stop && options_.stop->load() != 0;
            const bool allDone = done == lines_.size();
            const auto now = std::chrono::steady_clock::now();
            if (allDone || stopped || now - lastRecorded >= kRecordEvery) {
                // The projects are written without waiting for the disk, one
                // sync a second for all of them: a ledger never names a
                // project that a power cut could still take back.
                std::set<dev_t> synced;
                for (auto& [folder, entries] : unrecorded) {
                    struct stat info {};
                    if (::stat(folder.c_str(), &info) != 0 || synced.insert(info.st_dev).second)
                        if (!syncFileSystemOf(folder))
                            throw InputError("cannot sync the projects in " + folder + ": " +
                                             systemReason());
                    recordInLedger(folder, entries);
                }
                unrecorded.clear();
                lastRecorded = now;
            }
            if (allDone || stopped)
                return stopped;
        }
    }

    const std::vector<BatchLine>& lines_;
    const BatchOptions& options_;
    std::map<std::string, std::map<std::string, LedgerEntry>> ledgers_; // by folder
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> abandoned_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<LineOutcome> outcomes_;
    std::deque<Finished> finished_;
    std::set<std::size_t> ended_;
};

} // namespace

const char* statusName(LineStatus status) {
    switch (status) {
    case LineStatus::Drafted:
        return "drafted";
    case LineStatus::UpToDate:
        return "up to date";
    case LineStatus::KeptCorrections:
        return "kept corrections";
    case LineStatus::NeedsALook:
        return "needs a look";
    case LineStatus::ToDraft:
        return "to draft";
    case LineStatus::Failed:
        break;
    }
    return "failed";
}

std::string inputsFingerprint(const BatchLine& line, const std::string* dialogue,
                              const FileStamp& clip) {
    // A line without text is told from a line with an empty one.
    return fingerprint(clip.bytes + '\n' + settingsText(line, dialogue ? *dialogue : "\x01"));
}

std::string draftBeside(const std::string& project) {
    return withExtension(project, ".draft.vsq");
}

LineAction actionFor(const LedgerEntry* entry, const std::string& inputs, ProjectNow project,
                     bool force) {
    if (project == ProjectNow::Missing || force)
        return LineAction::Draft;
    if (!entry)
        return LineAction::DraftAndCompare;
    const bool sameInputs = entry->inputs == inputs;
    if (project == ProjectNow::AsWritten)
        return sameInputs ? LineAction::UpToDate : LineAction::Draft;
    return sameInputs ? LineAction::KeepCorrections : LineAction::DraftBeside;
}

std::vector<LineOutcome> runBatch(const std::vector<BatchLine>& lines,
                                  const BatchOptions& options) {
    if (lines.empty())
        return {};
    BatchRun run(lines, options);
    return run.run();
}

} // namespace visemer::tool
