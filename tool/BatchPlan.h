#pragma once

#include <optional>
#include <string>
#include <vector>

namespace visemer::tool {

// What a batch drafts each clip with, unless its line in a list says
// otherwise.
struct LineSettings {
    std::string language = "en-us";
    int fps = 30;
    bool browser = true;
};

// One clip of a batch and where its draft goes.
struct BatchLine {
    std::string clip; // as named on the command line, found in a folder or in a list
    // The dialogue given in a list's text column; otherwise the file
    // beside the clip with its base name and ".txt", when there is one.
    std::optional<std::string> dialogue;
    std::string textFile;
    std::string project; // the project to write
    LineSettings settings;
    // Why the line cannot be drafted, found while planning: a bad value in
    // its list line, a project another clip writes too.
    std::string problem;
};

struct BatchSources {
    std::vector<std::string> names; // clips and folders
    std::optional<std::string> list;
    // Where the projects go, keeping the clips' folders below it; beside
    // each clip when not given.
    std::optional<std::string> outputFolder;
    LineSettings settings;
};

// Every line of the batch, in the order of the clips' names, each clip
// once. A folder gives every clip the editor plays below it. Throws
// UsageError for a name that is neither a clip nor a folder and
// InputError for a list that cannot be read.
std::vector<BatchLine> planBatch(const BatchSources& sources);

// "K/N": the lines whose place in the work list is K modulo N.
struct Shard {
    std::size_t index = 0;
    std::size_t count = 1;
};
// UsageError unless the text is "K/N" with N at least 1 and K from 0 to N
// (N standing for 0, so an index counted from 1 works as well).
Shard shardNamed(const std::string& text);
std::vector<BatchLine> linesOfShard(std::vector<BatchLine> lines, const Shard& shard);

// The processors this process may run on: under a farm's scheduler (Slurm,
// a container's CPU set) fewer than the machine has. The default of
// --jobs.
unsigned processorsAvailable();

// Whether the path names a folder (also through a link).
bool isFolder(const std::string& path);

// A clip the editor plays, by its name's extension: .wav or .mp3.
bool isClipName(const std::string& path);
// The path with its extension (after the last '.' of its last part)
// replaced by the one given, which starts with '.'.
std::string withExtension(const std::string& path, const std::string& extension);

} // namespace visemer::tool
