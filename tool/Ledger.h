#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace visemer::tool {

// How a file stood when last seen: its size and modification time, to
// tell at a glance that it is as it was, and a fingerprint of its bytes,
// to tell for sure when those moved.
struct FileStamp {
    long long size = -1;
    long long modifiedNs = 0;
    std::string bytes; // fingerprint
};

// 16 hexadecimal digits standing for the bytes.
std::string fingerprint(std::string_view bytes);
// The file's stamp now. Its bytes are read only when its size or time
// differ from `known`'s; nothing when it is missing or cannot be read.
std::optional<FileStamp> stampOf(const std::string& path, const FileStamp* known = nullptr);

// What a draft came to, kept so a report tells it again for a line that
// was not drafted anew.
struct DraftFigures {
    double seconds = 0; // the clip's length
    std::size_t rows = 0;
    std::size_t wordsLeftOut = 0;    // not in the dictionary, or not found in the voice
    std::size_t wordsNotReached = 0; // after the voice ended
    std::optional<double> confidence;
};

// What a batch wrote for one project.
struct LedgerEntry {
    std::string project; // the project's file name in the ledger's folder
    FileStamp clip;
    std::string inputs; // fingerprint of the clip, the text, the settings and the tool's version
    FileStamp written;  // the project as the tool wrote it
    bool newerDraftBeside = false; // a corrected project has a draft of changed inputs beside it
    DraftFigures figures;
};

// Each folder that projects are drafted into keeps a ledger of them in
// this file: a text file with a line a project, replaced whole.
inline constexpr const char* kLedgerName = ".visemer-ledger";

// The folder's ledger by project name; empty when it has none. Lines it
// cannot read (from a later version) are passed over, so the projects
// they stand for are drafted again rather than lost.
std::map<std::string, LedgerEntry> readLedger(const std::string& folder);
// Merges the entries into the folder's ledger, holding a lock beside it
// so that processes drafting into one folder at once keep each other's
// lines. InputError when it cannot be written.
void recordInLedger(const std::string& folder, const std::vector<LedgerEntry>& entries);

// The ledger's text and back, for the tests.
std::string ledgerText(const std::map<std::string, LedgerEntry>& entries);
std::map<std::string, LedgerEntry> ledgerEntries(std::string_view text);

} // namespace visemer::tool
