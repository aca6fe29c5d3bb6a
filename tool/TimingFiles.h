#pragma once

#include "exchange/Timing.h"

#include <optional>
#include <string>

namespace visemer::tool {

// The file formats convert reads and writes.
enum class Format { Project, Reduced, CueTsv, CueJson, Switch, TimingJson };

// "vsq", "mou", "tsv", "cues-json", "switch", "json"; nothing otherwise.
std::optional<Format> formatNamed(const std::string& name);
// By the name's extension: .vsq .mou .tsv .dat .json (a .json is this
// program's timing JSON when written, and read by what it holds).
std::optional<Format> formatOfPath(const std::string& path);

// How rows are timed where a file has no rate of its own.
struct Rate {
    int fps = 30;
    bool browser = true;
    int switchFps = 24;
};

// Reads a timing file; InputError on anything wrong with it. Notes what
// the reading could not keep on stderr.
Timing readTiming(const std::string& path, Format format, const Rate& rate);
// Writes whole or not at all; InputError when it cannot.
void writeTiming(const std::string& path, Format format, const Timing& timing, const Rate& rate);

// InputError unless the folder a new file would go in exists.
void requireFolderOf(const std::string& path);
std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& bytes);

} // namespace visemer::tool
