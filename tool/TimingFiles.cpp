#include "tool/TimingFiles.h"

#include "exchange/Json.h"
#include "exchange/ProjectDocument.h"
#include "exchange/RowLayout.h"
#include "exchange/TimingFormats.h"
#include "files/AtomicFile.h"
#include "project/FileExtension.h"
#include "tool/Arguments.h"
#include "toolkit/AsciiCase.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace visemer::tool {
namespace {

void note(const std::string& text) {
    std::fprintf(stderr, "visemer-tool: note: %s\n", text.c_str());
}

std::string extensionOf(const std::string& path) {
    std::string extension(extensionPart(path));
    for (char& c : extension)
        c = foldAsciiCase(c);
    return extension;
}

// The timing's step length, falling back to the given rate where the file
// has none.
double unitFor(const Timing& timing, const Rate& rate, const std::string& path) {
    if (const double unit = delayUnitMs(timing); unit > 0)
        return unit;
    Timing timed = timing;
    timed.reduced = false;
    timed.fps = std::to_string(rate.fps);
    timed.browser = rate.browser;
    note(path + " has no frame rate; its rows are timed at " + timed.fps + " fps, " +
         (rate.browser ? "Browser" : "Projector"));
    return delayUnitMs(timed);
}

Timing timingOfStretches(const std::vector<TimedLabel>& stretches, const Rate& rate,
                         const std::string& path) {
    Timing timing;
    timing.fps = std::to_string(rate.fps);
    timing.browser = rate.browser;
    const double unit = delayUnitMs(timing);
    timing.rows = layOutRows(stretches, unit);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", unit);
    note("the times of " + path + " were rounded to whole delay steps of " + text + " ms");
    return timing;
}

std::string projectKind(bool reduced) {
    return reduced ? "a .mou file" : "a .vsq file";
}

} // namespace

std::optional<Format> formatNamed(const std::string& name) {
    if (name == "vsq")
        return Format::Project;
    if (name == "mou")
        return Format::Reduced;
    if (name == "tsv")
        return Format::CueTsv;
    if (name == "cues-json")
        return Format::CueJson;
    if (name == "switch")
        return Format::Switch;
    if (name == "json")
        return Format::TimingJson;
    return std::nullopt;
}

std::optional<Format> formatOfPath(const std::string& path) {
    const std::string extension = extensionOf(path);
    if (extension == "dat")
        return Format::Switch;
    return formatNamed(extension);
}

void requireFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw InputError("the folder " + folder + " does not exist");
}

std::string readWholeFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw InputError("cannot read " + path + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw InputError("cannot read " + path + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw InputError("cannot read " + path + ": " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        throw InputError("cannot read " + path);
    return bytes.str();
}

void writeWholeFile(const std::string& path, const std::string& bytes) {
    requireFolderOf(path);
    AtomicFile file;
    if (!file.create(path))
        throw InputError("cannot write " + path + ": " + std::strerror(errno));
    file.write(bytes);
    if (!file.commit())
        throw InputError("cannot write " + path + ": " + std::strerror(errno));
}

Timing readTiming(const std::string& path, Format format, const Rate& rate) {
    if (format == Format::Project || format == Format::Reduced) {
        auto reading = readProject(path);
        if (!reading)
            throw InputError("cannot read " + path + ": " + std::strerror(errno));
        if (reading->framesAsked > static_cast<std::int64_t>(reading->timing.rows.size()))
            note(path + " asks for " + std::to_string(reading->framesAsked) +
                 " frames; the editor opens only the first " +
                 std::to_string(reading->timing.rows.size()));
        return reading->timing;
    }
    const std::string text = readWholeFile(path);
    try {
        switch (format) {
        case Format::CueTsv:
            return timingOfStretches(readCueTsv(text), rate, path);
        case Format::Switch:
            return timingOfStretches(readSwitchData(text, rate.switchFps), rate, path);
        case Format::CueJson:
        case Format::TimingJson: {
            // A .json file is read as what it holds.
            if (text.find("\"mouthCues\"") != std::string::npos &&
                text.find("\"visemer-timing\"") == std::string::npos) {
                Timing timing = timingOfStretches(readCueJson(text), rate, path);
                if (const auto* sound = parseJson(text).find("metadata"))
                    if (const auto* file = sound->find("soundFile");
                        file && file->kind == JsonValue::Kind::String)
                        timing.audio = file->string;
                return timing;
            }
            return readTimingJson(text);
        }
        default:
            break;
        }
    } catch (const FormatError& error) {
        throw InputError(path + ": " + error.what());
    }
    throw InputError("cannot read " + path);
}

void writeTiming(const std::string& path, Format format, const Timing& source, const Rate& rate) {
    requireFolderOf(path);
    Timing timing = source;
    switch (format) {
    case Format::Project:
    case Format::Reduced: {
        const bool reduced = format == Format::Reduced;
        if (reduced && !timing.reduced)
            note(projectKind(true) + " keeps no frame rate, timing or audio clip");
        if (!reduced && timing.reduced) {
            timing.fps = std::to_string(rate.fps);
            timing.browser = rate.browser;
            note(projectKind(false) + " needs a frame rate; it gets " + timing.fps + " fps, " +
                 (rate.browser ? "Browser" : "Projector"));
        }
        timing.reduced = reduced;
        if (!writeProject(path, timing))
            throw InputError("cannot write " + path + ": " + std::strerror(errno));
        return;
    }
    case Format::TimingJson:
        writeWholeFile(path, writeTimingJson(timing));
        return;
    default:
        break;
    }
    const auto stretches = timeRows(timing, unitFor(timing, rate, path));
    switch (format) {
    case Format::CueTsv:
        note("cue lists know 9 mouth shapes; the labels were reduced to them");
        writeWholeFile(path, writeCueTsv(stretches));
        return;
    case Format::CueJson:
        note("cue lists know 9 mouth shapes; the labels were reduced to them");
        writeWholeFile(path, writeCueJson(stretches, timing.audio));
        return;
    case Format::Switch:
        note("switch data knows 10 mouth names; the labels were reduced to them and the "
             "changes put on frames at " +
             std::to_string(rate.switchFps) + " fps");
        writeWholeFile(path, writeSwitchData(stretches, rate.switchFps));
        return;
    default:
        return;
    }
}

} // namespace visemer::tool
