#pragma once

#include "exchange/TimingFormats.h"

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
    // And how switch data names its mouths.
    SwitchNames switchNames = SwitchNames::Either;
};

// Reads a timing file; InputError on anything wrong with it. Notes on
// stderr what the reading could not keep as it was. A .json file whose
// format was not named is read as what it holds.
Timing readTiming(const std::string& path, Format format, const Rate& rate,
                  bool formatNamedByUser = true);
// The project file the editor opens, refused (InputError, saying what the
// file looks like) when it is not one.
Timing readProjectFile(const std::string& path);
// Writes whole or not at all, "-" to standard output; InputError when it
// cannot. Notes on stderr each change the format forces on the timing,
// with its count; `from` names the file the timing came from.
void writeTiming(const std::string& path, Format format, const Timing& timing, const Rate& rate,
                 const std::string& from);

} // namespace visemer::tool
