#include "tool/BatchPlan.h"

#include "text/AsciiCase.h"
#include "timeline/PlaybackRate.h"
#include "tool/Arguments.h"
#include "tool/FileChecks.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sched.h>
#include <sys/stat.h>
#include <thread>

namespace visemer::tool {
namespace {

namespace fs = std::filesystem;

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string joined(const std::string& folder, const std::string& path) {
    if (path.empty() || path.front() == '/' || folder.empty() || folder == ".")
        return path;
    return folder.back() == '/' ? folder + path : folder + "/" + path;
}

// The part of a clip's path kept below an output folder: its path below
// the folder it was found in, or as named when that stays below where it
// is named from, else its name alone.
std::string keptPart(const std::string& named) {
    const fs::path path = fs::path(named).lexically_normal();
    if (path.is_relative() && !path.empty() && *path.begin() != "..")
        return path.string();
    return path.filename().string();
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return cells;
        start = tab + 1;
    }
}

struct Found {
    std::string clip;
    std::string kept; // for an output folder
    std::optional<std::string> dialogue;
    std::optional<std::string> project;
    LineSettings settings;
    std::string problem;
};

void addFolder(const std::string& folder, const LineSettings& settings, std::vector<Found>& found) {
    const std::size_t before = found.size();
    std::error_code error;
    fs::recursive_directory_iterator walk(folder, fs::directory_options::skip_permission_denied,
                                          error);
    if (error)
        throw InputError("cannot read the folder " + folder + ": " + error.message());
    for (; walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        if (error)
            throw InputError("cannot read the folder " + folder + ": " + error.message());
        const std::string name = walk->path().filename().string();
        // Hidden folders hold a program's own files (a ledger, a version
        // control's store), not dialogue.
        if (!name.empty() && name.front() == '.') {
            if (walk->is_directory(error))
                walk.disable_recursion_pending();
            continue;
        }
        if (!isClipName(name) || !walk->is_regular_file(error))
            continue;
        Found clip;
        clip.clip = walk->path().string();
        clip.kept = walk->path().lexically_relative(folder).string();
        clip.settings = settings;
        found.push_back(std::move(clip));
    }
    if (found.size() == before)
        throw InputError("no clip the editor plays (.wav, .mp3) is in the folder " + folder);
}

void addList(const std::string& list, const LineSettings& defaults, std::vector<Found>& found) {
    const std::string text = readWholeFile(list);
    const std::string base = folderOf(list);
    std::map<std::string, std::size_t> columns;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNumber == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string> cells = splitTabs(line);
        const std::string where = list + " line " + std::to_string(lineNumber);
        if (columns.empty()) {
            for (std::size_t i = 0; i < cells.size(); ++i) {
                const std::string name = foldedAsciiCase(cells[i]);
                if (name != "clip" && name != "text" && name != "output" && name != "language" &&
                    name != "fps" && name != "timing")
                    throw InputError(where + ": unknown column \"" + cells[i] +
                                     "\" (clip, text, output, language, fps, timing)");
                columns[name] = i;
            }
            if (!columns.count("clip"))
                throw InputError(where + ": the first line names the columns, and one is clip");
            continue;
        }
        const auto cell = [&](const char* name) -> std::string {
            const auto column = columns.find(name);
            if (column == columns.end() || column->second >= cells.size())
                return {};
            return cells[column->second];
        };
        Found clip;
        clip.settings = defaults;
        const std::string named = cell("clip");
        if (named.empty())
            throw InputError(where + ": no clip named");
        clip.clip = joined(base, named);
        clip.kept = keptPart(named);
        if (const std::string dialogue = cell("text"); !dialogue.empty())
            clip.dialogue = dialogue;
        if (const std::string project = cell("output"); !project.empty())
            clip.project = joined(base, project);
        if (const std::string language = cell("language"); !language.empty())
            clip.settings.language = language;
        if (const std::string fps = cell("fps"); !fps.empty()) {
            char* rest = nullptr;
            const long number = std::strtol(fps.c_str(), &rest, 10);
            if (*rest != '\0' || number < PlaybackRate::kLowestFps ||
                number > PlaybackRate::kHighestFps)
                clip.problem = "fps " + fps + " is not a whole number from " +
                               std::to_string(PlaybackRate::kLowestFps) + " to " +
                               std::to_string(PlaybackRate::kHighestFps) + " (" + where + ")";
            else
                clip.settings.fps = static_cast<int>(number);
        }
        if (const std::string timing = foldedAsciiCase(cell("timing")); !timing.empty()) {
            if (timing == "browser" || timing == "projector")
                clip.settings.browser = timing == "browser";
            else
                clip.problem = "timing " + cell("timing") + " is neither browser nor projector (" +
                               where + ")";
        }
        found.push_back(std::move(clip));
    }
    if (columns.empty())
        throw InputError(list + " is empty: its first line names the columns, and one is clip");
}

} // namespace

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

unsigned processorsAvailable() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (::sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0)
        return static_cast<unsigned>(CPU_COUNT(&set));
    return std::max(1U, std::thread::hardware_concurrency());
}

bool isClipName(const std::string& path) {
    const std::string lower = foldedAsciiCase(fs::path(path).extension().string());
    return lower == ".wav" || lower == ".mp3";
}

std::string withExtension(const std::string& path, const std::string& extension) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

std::vector<BatchLine> planBatch(const BatchSources& sources) {
    std::vector<Found> found;
    // A clip named in the list and found in a folder too keeps the list's
    // settings: the first of equal names is the one kept.
    if (sources.list)
        addList(*sources.list, sources.settings, found);
    for (const std::string& name : sources.names) {
        if (isFolder(name)) {
            addFolder(name, sources.settings, found);
            continue;
        }
        if (!isRegularFile(name))
            throw UsageError(name + " is neither a clip nor a folder");
        found.push_back({name, keptPart(name), {}, {}, sources.settings, {}});
    }

    for (Found& clip : found)
        clip.clip = fs::path(clip.clip).lexically_normal().string();
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return a.clip < b.clip; });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const Found& a, const Found& b) { return a.clip == b.clip; }),
                found.end());

    std::vector<BatchLine> lines;
    lines.reserve(found.size());
    std::map<std::string, std::string> projects; // project -> the clip that writes it
    for (Found& clip : found) {
        BatchLine line;
        line.clip = std::move(clip.clip);
        line.settings = clip.settings;
        line.problem = std::move(clip.problem);
        line.dialogue = std::move(clip.dialogue);
        if (!line.dialogue) {
            const std::string beside = withExtension(line.clip, ".txt");
            if (isRegularFile(beside))
                line.textFile = beside;
        }
        if (clip.project)
            line.project = *clip.project;
        else if (sources.outputFolder)
            line.project = withExtension(joined(*sources.outputFolder, clip.kept), ".vsq");
        else
            line.project = withExtension(line.clip, ".vsq");
        line.project = fs::path(line.project).lexically_normal().string();
        if (line.project == line.clip || line.project == line.textFile)
            line.problem = "its project would be written over its own clip or text";
        const auto [earlier, added] = projects.emplace(line.project, line.clip);
        if (!added && line.problem.empty())
            line.problem = line.project + " is written for " + earlier->second + " already";
        lines.push_back(std::move(line));
    }
    return lines;
}

Shard shardNamed(const std::string& text) {
    const std::size_t slash = text.find('/');
    const auto number = [&](const std::string& part, unsigned long& value) {
        char* rest = nullptr;
        value = std::strtoul(part.c_str(), &rest, 10);
        return !part.empty() && part.front() != '-' && *rest == '\0';
    };
    unsigned long index = 0, count = 0;
    if (slash == std::string::npos || !number(text.substr(0, slash), index) ||
        !number(text.substr(slash + 1), count) || count == 0 || index > count)
        throw UsageError("--shard takes K/N: N machines, this one's K from 0 to N-1 (or 1 to N)");
    return {index % count, count};
}

std::vector<BatchLine> linesOfShard(std::vector<BatchLine> lines, const Shard& shard) {
    if (shard.count == 1)
        return lines;
    std::vector<BatchLine> taken;
    for (std::size_t i = shard.index; i < lines.size(); i += shard.count)
        taken.push_back(std::move(lines[i]));
    return taken;
}

} // namespace visemer::tool
