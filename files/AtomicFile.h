#pragma once

#include <string>

namespace visemer {

// A write past the file-size limit fails like any other failed write,
// instead of ending the program with everything unsaved. For the whole
// process; called once at start-up.
void keepWritesFromEndingTheProgram();

// A file written in full or not at all. The bytes go to an unnamed file in
// the target's folder (or, where the system has none, to a short hidden
// name there), which replaces the target only when everything was written
// and synced; until then, and after any failure, the old file is untouched,
// and a program killed on the way leaves nothing behind.
//
// A few targets are written in place instead, as they must be to stay what
// they are: one in a folder that takes no new files, one with other hard
// links, and one that belongs to another user. There the old bytes are put
// back if the new ones cannot all be written.
//
// A target that cannot be written at all (a folder, a read-only file, a
// missing folder) fails at once.
class AtomicFile {
public:
    // Synced: the bytes reach the disk before the file takes the target's
    // place, so a power cut leaves the old file or the new one. Deferred:
    // a killed program still leaves one or the other, but the disk is left
    // to catch up; for a writer of many files that syncs the file system
    // once for all of them (syncFileSystemOf) before anything relies on them.
    enum class Durability { Synced, Deferred };

    AtomicFile() = default;
    explicit AtomicFile(Durability durability) : durability_(durability) {}
    ~AtomicFile() { discard(); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&& other) noexcept;

    bool create(const std::string& path);
    bool isOpen() const { return descriptor_ >= 0; }
    void write(const std::string& bytes);
    // Puts the new file in place; false, with the old file kept, if
    // anything went wrong on the way.
    bool commit();
    void discard();

private:
    enum class Method { Unnamed, Named, InPlace };

    bool openUnnamed(const std::string& folder, unsigned mode);
    bool openNamed(const std::string& folder, unsigned mode);
    bool openInPlace(const std::string& target);
    bool flush();
    bool putInPlace();
    void restoreInPlace();
    void reset();

    int descriptor_ = -1;
    Method method_ = Method::Unnamed;
    std::string target_;
    std::string temporary_; // the short hidden name, for Method::Named
    std::string buffer_;
    std::string oldBytes_; // for Method::InPlace
    long long written_ = 0;
    bool failed_ = false;
    Durability durability_ = Durability::Synced;
};

// Writes everything written so far to the file system that holds the
// path, as one sync; false when it could not.
bool syncFileSystemOf(const std::string& path);

} // namespace visemer
