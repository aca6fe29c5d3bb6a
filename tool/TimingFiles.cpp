#include "tool/TimingFiles.h"

#include "exchange/ProjectDocument.h"
#include "exchange/RowLayout.h"
#include "exchange/TimingFormats.h"
#include "exchange/Vocabulary.h"
#include "project/FileExtension.h"
#include "project/ProjectLayout.h"
#include "text/AsciiCase.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "tool/Arguments.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <unistd.h>

namespace visemer::tool {
namespace {

std::string rateText(const Rate& rate) {
    return std::to_string(rate.fps) + " fps, " + (rate.browser ? "Browser" : "Projector");
}

// The timing's step length, falling back to the given rate where the file
// has none.
double unitFor(const Timing& timing, const Rate& rate, const std::string& from) {
    if (const double unit = delayUnitMs(timing); unit > 0)
        return unit;
    Timing timed = timing;
    timed.reduced = false;
    timed.fps = std::to_string(rate.fps);
    timed.browser = rate.browser;
    note(from + " has no frame rate the editor lists; its rows are timed at " + rateText(rate));
    return delayUnitMs(timed);
}

Timing timingOfStretches(std::vector<TimedLabel> stretches, const Rate& rate,
                         const std::string& path) {
    Timing timing;
    timing.fps = std::to_string(rate.fps);
    timing.browser = rate.browser;
    const double unit = delayUnitMs(timing);
    if (!stretches.empty() && stretches.back().endMs <= stretches.back().startMs)
        note("the last change of " + path +
             " has no end; it was given one delay step, as the editor needs one");
    timing.rows = layOutRows(stretches, unit);
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", unit);
    note("the times of " + path + " were rounded to whole delay steps of " + text + " ms (" +
         rateText(rate) + ")");
    return timing;
}

// Switch data whose names are all both mouth names and cue letters ("E")
// is read as mouth names, and the user told how to read it otherwise.
std::vector<TimedLabel> readSwitchDataNoting(std::string_view text, const Rate& rate) {
    std::vector<TimedLabel> stretches = readSwitchData(text, rate.switchFps, rate.switchNames);
    if (rate.switchNames == SwitchNames::Either) {
        try {
            if (readSwitchData(text, rate.switchFps, SwitchNames::Cues) != stretches)
                note("the switch data's names are mouth names and cue letters alike; read as "
                     "mouth names (--switch-names cues reads them as cue letters)");
        } catch (const FormatError&) {
        }
    }
    return stretches;
}

bool isProjectFormat(Format format) {
    return format == Format::Project || format == Format::Reduced;
}

// Delays the editor reads as a number beyond its 32-bit range: it holds
// them at the limit, so a conversion would not be what the file says.
void refuseDelaysBeyondTheEditor(const Timing& timing, const std::string& path) {
    for (std::size_t row = 0; row < timing.rows.size(); ++row) {
        const std::string& delay = timing.rows[row].delay;
        if (beyondDecimalRange(delay))
            throw InputError(path + ": row " + std::to_string(row + 1) + ": the delay " + delay +
                             " is beyond what the editor holds (" +
                             writeDecimal(std::numeric_limits<std::int32_t>::min()) + " to " +
                             writeDecimal(std::numeric_limits<std::int32_t>::max()) + ")");
    }
}

// Rows the timed formats cannot carry, and labels they know no name for.
struct RowLosses {
    std::size_t timeless = 0; // a delay of 0 or below, or none
    std::size_t unknown = 0;  // not among the 30 labels
    std::size_t reduced = 0;  // a label the format names by another
};

// labelBack: the label a row's label comes back as through the format.
template <typename LabelBack> RowLosses lossesOf(const Timing& timing, LabelBack labelBack) {
    RowLosses losses;
    for (const TimingRow& row : timing.rows) {
        if (readDecimal(row.delay) <= 0) {
            ++losses.timeless;
            continue;
        }
        if (!PhonemeTable::find(row.label))
            ++losses.unknown;
        else if (labelBack(row.label) != row.label)
            ++losses.reduced;
    }
    return losses;
}

void noteLosses(const RowLosses& losses, const std::string& to, const std::string& names,
                const std::string& unknownName) {
    if (losses.timeless > 0)
        note(counted(losses.timeless, "row") +
             " with a delay of 0, below 0 or none last no time and were left out of " + to);
    if (losses.unknown > 0)
        note(counted(losses.unknown, "row") + " with a label outside the 30 became " + unknownName +
             " in " + to);
    if (losses.reduced > 0)
        note("the labels of " + counted(losses.reduced, "row") + " were reduced to the " + names +
             " of " + to);
}

std::string cueLabel(std::string_view label) {
    const auto drawing = Vocabulary::drawingOf(label);
    const char shape = drawing ? Vocabulary::cueShapeOfDrawing(*drawing) : 'X';
    const auto back = Vocabulary::drawingOfCueShape(shape);
    return back ? std::string(Vocabulary::labelOfDrawing(*back)) : std::string();
}

std::string switchLabel(std::string_view label) {
    const auto back = Vocabulary::labelOfSwitchName(Vocabulary::switchNameOf(label));
    return back ? std::string(*back) : std::string();
}

void writeProjectTo(const std::string& path, const Timing& timing) {
    if (path != kStandardOutput) {
        checkOutput(path, {});
        if (!writeProject(path, timing))
            throw InputError("cannot write " + path + ": " + systemReason());
        return;
    }
    writeWholeFile(path, projectText(timing));
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
    const std::string extension = foldedAsciiCase(extensionPart(path));
    if (extension == "dat")
        return Format::Switch;
    return formatNamed(extension);
}

Timing readProjectFile(const std::string& path) {
    const std::string bytes = readWholeFile(path);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        throw InputError(path +
                         " starts with a byte-order mark, which hides its first group from the "
                         "editor; save it without one");
    auto reading = readProject(path);
    if (!reading)
        throw InputError("cannot read " + path + ": " + systemReason());
    if (!reading->hasFrames)
        throw InputError(path + " is not a project: " + whatItLooksLike(bytes));
    if (reading->framesAsked > static_cast<std::int64_t>(reading->timing.rows.size()))
        note(path + " asks for " + reading->framesText +
             " frames; the editor opens only the first " +
             std::to_string(reading->timing.rows.size()));
    if (reading->rowsBeyondFrames)
        note(path + " has rows after its " + counted(reading->timing.rows.size(), "frame") +
             "; the editor leaves them out, and so does this");
    refuseDelaysBeyondTheEditor(reading->timing, path);
    return reading->timing;
}

Timing readTiming(const std::string& path, Format format, const Rate& rate,
                  bool formatNamedByUser) {
    if (isProjectFormat(format))
        return readProjectFile(path);
    const std::string text = readWholeFile(path);
    try {
        if ((format == Format::CueJson || format == Format::TimingJson) && !formatNamedByUser) {
            const JsonTiming held = jsonTimingIn(text);
            if (held == JsonTiming::Other)
                throw InputError(path +
                                 " is neither a cue list nor a timing: " + whatItLooksLike(text));
            format = held == JsonTiming::Cues ? Format::CueJson : Format::TimingJson;
        }
        switch (format) {
        case Format::CueTsv:
            return timingOfStretches(readCueTsv(text), rate, path);
        case Format::Switch:
            return timingOfStretches(readSwitchDataNoting(text, rate), rate, path);
        case Format::CueJson: {
            CueList cues = readCueJson(text);
            Timing timing = timingOfStretches(std::move(cues.stretches), rate, path);
            timing.audio = cues.soundFile;
            return timing;
        }
        case Format::TimingJson: {
            Timing timing = readTimingJson(text);
            refuseDelaysBeyondTheEditor(timing, path);
            return timing;
        }
        default:
            break;
        }
    } catch (const FormatError& error) {
        throw InputError(path + ": " + error.what());
    }
    throw InputError("cannot read " + path);
}

void writeTiming(const std::string& path, Format format, const Timing& source, const Rate& rate,
                 const std::string& from) {
    Timing timing = source;
    const std::string to = path == kStandardOutput ? "the output" : path;
    switch (format) {
    case Format::Project:
    case Format::Reduced: {
        const bool reduced = format == Format::Reduced;
        if (reduced && !timing.reduced)
            note("a .mou file keeps no frame rate, timing or audio clip; those of " + from +
                 " were left out");
        if (!reduced && timing.reduced) {
            timing.fps = std::to_string(rate.fps);
            timing.browser = rate.browser;
            note("a .vsq file needs a frame rate; it gets " + rateText(rate));
        }
        timing.reduced = reduced;
        writeProjectTo(path, timing);
        return;
    }
    case Format::TimingJson:
        writeWholeFile(path, writeTimingJson(timing));
        return;
    default:
        break;
    }
    const auto stretches = timeRows(timing, unitFor(timing, rate, from));
    if (!timing.audio.empty() && format != Format::CueJson)
        note("the format of " + to + " keeps no audio clip; " + timing.audio + " was left out");
    switch (format) {
    case Format::CueTsv:
    case Format::CueJson:
        noteLosses(lossesOf(timing, cueLabel), to, "9 cue shapes", "X");
        writeWholeFile(path, format == Format::CueTsv ? writeCueTsv(stretches)
                                                      : writeCueJson(stretches, timing.audio));
        return;
    case Format::Switch:
        noteLosses(lossesOf(timing, switchLabel), to, "10 mouth names", "rest");
        note("the changes were put on frames at " + std::to_string(rate.switchFps) + " fps");
        writeWholeFile(path, writeSwitchData(stretches, rate.switchFps));
        return;
    default:
        return;
    }
}

} // namespace visemer::tool
