#pragma once

#include <cstdio>
#include <string>

namespace visemer {

// A file written in full or not at all. The bytes go to a temporary file
// beside the target, which replaces the target only when everything was
// written and flushed; until then, and after any failure, the old file is
// untouched. A target that could not be created or replaced in place
// (a folder, a read-only file, a missing or read-only folder) fails at once.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile() { discard(); }
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&& other) noexcept;

    bool create(const std::string& path);
    bool isOpen() const { return file_ != nullptr; }
    void write(const std::string& bytes);
    // Puts the new file in place; false, with the old file kept, if
    // anything went wrong on the way.
    bool commit();
    void discard();

private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temporary_;
    bool failed_ = false;
};

} // namespace visemer
