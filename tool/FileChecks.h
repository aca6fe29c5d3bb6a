#pragma once

#include "files/AtomicFile.h"

#include <string>
#include <vector>

namespace visemer::tool {

// "-" as an output: standard output.
inline constexpr const char* kStandardOutput = "-";

// The folder a path names a file in ("." for none) and the file's name.
std::string folderOf(const std::string& path);
std::string nameOf(const std::string& path);

// Reads a whole regular file; InputError, with the system's reason, for a
// missing file, a folder, a device or a FIFO, or a failed read.
std::string readWholeFile(const std::string& path);

// InputError unless the path names a regular file this process may read.
void checkInput(const std::string& path);

// InputError unless a whole new file can be put at the path: its folder
// exists and takes files, and any file there now is a regular file that is
// none of the inputs (by identity, so also through links). Called before
// any work, so a long draft never ends in a refusal.
void checkOutput(const std::string& path, const std::vector<std::string>& inputs);

// Writes whole or not at all, or to standard output for "-"; InputError
// with the system's reason when it cannot. Synced to the disk unless the
// caller syncs many files at once later (see AtomicFile).
void writeWholeFile(const std::string& path, const std::string& bytes,
                    AtomicFile::Durability durability = AtomicFile::Durability::Synced);

// What a file that is not what it was taken for seems to be, for a message:
// "a WAV clip", "a PNG picture", "JSON", "empty" ...
std::string whatItLooksLike(const std::string& bytes);

} // namespace visemer::tool
