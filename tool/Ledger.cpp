#include "tool/Ledger.h"

#include "files/AtomicFile.h"
#include "tool/Arguments.h"
#include "tool/Messages.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace visemer::tool {
namespace {

constexpr std::string_view kHeader = "# visemer-tool ledger 1\n";
constexpr std::size_t kColumns = 14;

class Fingerprint {
public:
    void add(std::string_view bytes) {
        for (const char byte : bytes) {
            hash_ ^= static_cast<unsigned char>(byte);
            hash_ *= 0x100000001B3ULL;
        }
    }
    std::string text() const {
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(hash_));
        return digits;
    }

private:
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

std::string unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::vector<std::string_view> cellsOf(std::string_view line) {
    std::vector<std::string_view> cells;
    for (;;) {
        const std::size_t tab = line.find('\t');
        cells.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return cells;
        line.remove_prefix(tab + 1);
    }
}

bool wholeNumber(std::string_view text, long long& value) {
    const std::string copy(text);
    char* rest = nullptr;
    errno = 0;
    value = std::strtoll(copy.c_str(), &rest, 10);
    return !copy.empty() && *rest == '\0' && errno == 0;
}

bool realNumber(std::string_view text, double& value) {
    const std::string copy(text);
    char* rest = nullptr;
    value = std::strtod(copy.c_str(), &rest);
    return !copy.empty() && *rest == '\0';
}

std::string decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::optional<LedgerEntry> entryOf(std::string_view line) {
    const std::vector<std::string_view> cells = cellsOf(line);
    if (cells.size() != kColumns)
        return std::nullopt;
    LedgerEntry entry;
    long long rows = 0, leftOut = 0, notReached = 0, beside = 0;
    double seconds = 0, confidence = 0;
    entry.project = unescaped(cells[0]);
    entry.clip.bytes = cells[3];
    entry.inputs = cells[4];
    entry.written.bytes = cells[7];
    if (entry.project.empty() || !wholeNumber(cells[1], entry.clip.size) ||
        !wholeNumber(cells[2], entry.clip.modifiedNs) ||
        !wholeNumber(cells[5], entry.written.size) ||
        !wholeNumber(cells[6], entry.written.modifiedNs) || !wholeNumber(cells[8], beside) ||
        !realNumber(cells[9], seconds) || !wholeNumber(cells[10], rows) ||
        !wholeNumber(cells[11], leftOut) || !wholeNumber(cells[12], notReached) ||
        (cells[13] != "-" && !realNumber(cells[13], confidence)) || rows < 0 || leftOut < 0 ||
        notReached < 0)
        return std::nullopt;
    entry.newerDraftBeside = beside != 0;
    entry.figures.seconds = seconds;
    entry.figures.rows = static_cast<std::size_t>(rows);
    entry.figures.wordsLeftOut = static_cast<std::size_t>(leftOut);
    entry.figures.wordsNotReached = static_cast<std::size_t>(notReached);
    if (cells[13] != "-")
        entry.figures.confidence = confidence;
    return entry;
}

std::string joinedPath(const std::string& folder, const char* name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

std::string fingerprint(std::string_view bytes) {
    Fingerprint print;
    print.add(bytes);
    return print.text();
}

std::optional<FileStamp> stampOf(const std::string& path, const FileStamp* known) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return std::nullopt;
    struct stat info {};
    std::optional<FileStamp> stamp;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        stamp.emplace();
        stamp->size = info.st_size;
        stamp->modifiedNs =
            static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
        if (known && known->size == stamp->size && known->modifiedNs == stamp->modifiedNs) {
            stamp->bytes = known->bytes;
        } else {
            Fingerprint print;
            char block[1 << 16];
            for (;;) {
                const ssize_t got = ::read(descriptor, block, sizeof block);
                if (got < 0 && errno == EINTR)
                    continue;
                if (got < 0) {
                    stamp.reset();
                    break;
                }
                if (got == 0)
                    break;
                print.add(std::string_view(block, static_cast<std::size_t>(got)));
            }
            if (stamp)
                stamp->bytes = print.text();
        }
    }
    ::close(descriptor);
    return stamp;
}

std::string ledgerText(const std::map<std::string, LedgerEntry>& entries) {
    std::string text(kHeader);
    text += "project\tclip size\tclip time\tclip\tinputs\tproject size\tproject time\tproject\t"
            "draft beside\tseconds\trows\tleft out\tnot reached\tconfidence\n";
    for (const auto& [name, entry] : entries) {
        const DraftFigures& figures = entry.figures;
        text += escaped(name) + '\t' + std::to_string(entry.clip.size) + '\t' +
                std::to_string(entry.clip.modifiedNs) + '\t' + entry.clip.bytes + '\t' +
                entry.inputs + '\t' + std::to_string(entry.written.size) + '\t' +
                std::to_string(entry.written.modifiedNs) + '\t' + entry.written.bytes + '\t' +
                (entry.newerDraftBeside ? "1" : "0") + '\t' + decimal(figures.seconds) + '\t' +
                std::to_string(figures.rows) + '\t' + std::to_string(figures.wordsLeftOut) + '\t' +
                std::to_string(figures.wordsNotReached) + '\t' +
                (figures.confidence ? decimal(*figures.confidence) : "-") + '\n';
    }
    return text;
}

std::map<std::string, LedgerEntry> ledgerEntries(std::string_view text) {
    std::map<std::string, LedgerEntry> entries;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (auto entry = entryOf(line))
            entries[entry->project] = std::move(*entry);
    }
    return entries;
}

std::map<std::string, LedgerEntry> readLedger(const std::string& folder) {
    const std::string path = joinedPath(folder, kLedgerName);
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    std::string text;
    char block[1 << 16];
    for (;;) {
        const ssize_t got = ::read(descriptor, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(block, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    return ledgerEntries(text);
}

void recordInLedger(const std::string& folder, const std::vector<LedgerEntry>& entries) {
    if (entries.empty())
        return;
    // The ledger itself is replaced on each write, so the lock is held on a
    // file of its own that stays.
    const std::string lockPath = joinedPath(folder, kLedgerName) + ".lock";
    const int lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock < 0)
        throw InputError("cannot lock " + lockPath + ": " + systemReason());
    while (::flock(lock, LOCK_EX) != 0) {
        if (errno != EINTR) {
            const std::string reason = systemReason();
            ::close(lock);
            throw InputError("cannot lock " + lockPath + ": " + reason);
        }
    }
    std::map<std::string, LedgerEntry> merged = readLedger(folder);
    for (const LedgerEntry& entry : entries)
        merged[entry.project] = entry;
    const std::string path = joinedPath(folder, kLedgerName);
    AtomicFile file;
    bool written = file.create(path);
    if (written) {
        file.write(ledgerText(merged));
        written = file.commit();
    }
    const std::string reason = written ? std::string() : systemReason();
    ::close(lock); // lets the lock go
    if (!written)
        throw InputError("cannot write " + path + ": " + reason);
}

} // namespace visemer::tool
