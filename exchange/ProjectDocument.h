#pragma once

#include "exchange/Timing.h"

#include <optional>
#include <string>

namespace visemer {

// A project file (".vsq", or the reduced ".mou") read as the editor's Open
// reads it: the frame count through the decimal reader, held between 0 and
// the editor's limit; a missing row key gives an empty cell. Nothing for a
// file that cannot be read.
struct ProjectReading {
    Timing timing;
    std::string framesText;       // the "Frames" value as it stands
    std::int64_t framesAsked = 0; // what it reads as, before the limit
    bool hasFrames = false;       // a file without the group is no project
    bool hasFps = false, hasTiming = false, hasAudio = false;
    bool rowsBeyondFrames = false; // labels or delays numbered past the count
    std::string timingText;
};
std::optional<ProjectReading> readProject(const std::string& path);

// Written with the editor's own writer: byte for byte what Save As (or,
// for a reduced timing, New's save) writes. False when the file could not
// be written whole; the old file is then kept.
bool writeProject(const std::string& path, const Timing& timing);
// The same bytes, in memory.
std::string projectText(const Timing& timing);

// The clip-event script, byte for byte what Export Script writes.
bool writeScript(const std::string& path, const Timing& timing);

} // namespace visemer
