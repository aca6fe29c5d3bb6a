#pragma once

#include "tool/BatchPlan.h"
#include "tool/Ledger.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace visemer::tool {

enum class LineStatus {
    Drafted,         // a project written, or one found the same as its draft
    UpToDate,        // nothing changed since it was drafted
    KeptCorrections, // corrected by hand since; left as it is
    NeedsALook, // corrected by hand (or not drafted here) and its draft differs: written beside
    ToDraft,    // planned only
    Failed,
};
// "drafted", "up to date", "kept corrections", "needs a look", "to draft", "failed".
const char* statusName(LineStatus status);

struct LineOutcome {
    std::string clip;
    std::string project;
    LineStatus status = LineStatus::Failed;
    std::string reason; // why it failed, or what to look at
    std::optional<DraftFigures> figures;
};

struct BatchOptions {
    std::size_t jobs = 1;
    bool force = false;  // redraft and write over corrected projects too
    bool dryRun = false; // plan only: compare with the ledgers, draft nothing
    // Called on the calling thread as each line ends, with how many have.
    std::function<void(const LineOutcome&, std::size_t done)> finished;
    // A signal's number once one asks the batch to stop. The batch then
    // takes no new line, records those that ended and calls `stopped`,
    // which may end the program there and then: the drafts under way are
    // written whole or not at all, and the next run starts them again.
    // When it returns, the batch waits for them.
    const std::atomic<int>* stop = nullptr;
    std::function<void(int signal)> stopped;
};

// What a line's draft is made from, as one fingerprint: the clip's
// bytes, the dialogue (null for none), the settings, the clip's place and
// the tool's version.
std::string inputsFingerprint(const BatchLine& line, const std::string* dialogue,
                              const FileStamp& clip);

// The name a draft takes beside a project that was corrected by hand.
std::string draftBeside(const std::string& project);

// What to do with a line, from its ledger entry (if any), its inputs' fingerprint
// now and how its project stands.
enum class ProjectNow { Missing, AsWritten, Changed };
enum class LineAction { Draft, UpToDate, KeepCorrections, DraftBeside, DraftAndCompare };
LineAction actionFor(const LedgerEntry* entry, const std::string& inputs, ProjectNow project,
                     bool force);

// Drafts the lines, `jobs` at a time, skipping those up to date and keeping
// corrected projects, and records each project in its folder's ledger.
// A line that fails is an outcome like the others. The outcomes come in
// the lines' order; lines not reached before a stop are left out.
std::vector<LineOutcome> runBatch(const std::vector<BatchLine>& lines, const BatchOptions& options);

} // namespace visemer::tool
