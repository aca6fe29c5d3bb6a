#include "exchange/TimingFormats.h"

#include "exchange/Vocabulary.h"
#include "timeline/PhonemeTable.h"

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

namespace visemer {
namespace {

constexpr std::string_view kSwitchHeader = "MohoSwitch1";
constexpr std::string_view kTimingFormat = "visemer-timing";
constexpr int kTimingVersion = 1;

[[noreturn]] void failAt(int line, const std::string& what) {
    throw FormatError("line " + std::to_string(line) + ": " + what);
}

// The lines of a text file, without their CR LF or LF ends.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
            ++at;
        const std::size_t start = at;
        while (at < line.size() && line[at] != ' ' && line[at] != '\t')
            ++at;
        if (at > start)
            fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

// A plain decimal: digits with at most one point among them, and a sign.
bool isPlainDecimal(std::string_view text) {
    if (!text.empty() && (text.front() == '-' || text.front() == '+'))
        text.remove_prefix(1);
    int digits = 0;
    int points = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

bool readNumber(std::string_view text, double& number) {
    if (!isPlainDecimal(text))
        return false;
    const std::string copy(text);
    number = std::strtod(copy.c_str(), nullptr);
    return std::isfinite(number);
}

// A time in seconds past the longest the editor waits.
void checkTime(double seconds, std::string_view asWritten, const std::string& where) {
    if (seconds > kLongestTimeSeconds)
        throw FormatError(where + ": the time " + std::string(asWritten) +
                          " s is past the longest the editor times (" +
                          jsonNumber(kLongestTimeSeconds) + " s)");
}

std::string labelOfCue(std::string_view shape) {
    const auto drawing = shape.size() == 1 ? Vocabulary::drawingOfCueShape(shape[0]) : std::nullopt;
    return drawing ? std::string(Vocabulary::labelOfDrawing(*drawing)) : std::string();
}

char cueOfLabel(std::string_view label) {
    const auto drawing = Vocabulary::drawingOf(label);
    return drawing ? Vocabulary::cueShapeOfDrawing(*drawing) : 'X';
}

// Each start closes the stretch before it.
void addStart(std::vector<TimedLabel>& stretches, double ms, std::string label) {
    if (!stretches.empty())
        stretches.back().endMs = ms;
    stretches.push_back({ms, ms, std::move(label)});
}

// Neighbours with the same name become one stretch, for formats that know
// fewer names than labels.
template <typename NameOf>
std::vector<std::pair<double, std::string>> changesOf(const std::vector<TimedLabel>& stretches,
                                                      NameOf nameOf) {
    std::vector<std::pair<double, std::string>> changes;
    for (const TimedLabel& stretch : stretches) {
        if (stretch.endMs <= stretch.startMs && &stretch != &stretches.back())
            continue;
        std::string name(nameOf(stretch.label));
        if (changes.empty() || changes.back().second != name)
            changes.emplace_back(stretch.startMs, std::move(name));
    }
    return changes;
}

double endOf(const std::vector<TimedLabel>& stretches) {
    return stretches.empty() ? 0.0 : stretches.back().endMs;
}

using nlohmann::json;

json parsed(std::string_view text) {
    try {
        return json::parse(text);
    } catch (const json::exception& error) {
        // A syntax fault, or a number too large for a double.
        // "[json.exception.parse_error.101] parse error at line 2, column 5: ..."
        std::string what = error.what();
        if (const std::size_t at = what.find("line "); at != std::string::npos)
            what.erase(0, at);
        else if (const std::size_t end = what.find("] "); end != std::string::npos)
            what.erase(0, end + 2);
        throw FormatError(what);
    }
}

const json& member(const json& object, const std::string& where, const char* key,
                   json::value_t kind, const char* kindName) {
    const auto found = object.find(key);
    const bool number = kind == json::value_t::number_float;
    if (found == object.end() || (number ? !found->is_number() : found->type() != kind))
        throw FormatError(where + ": expected \"" + key + "\" as " + kindName);
    return *found;
}

double numberIn(const json& object, const std::string& where, const char* key) {
    const double value =
        member(object, where, key, json::value_t::number_float, "a number").get<double>();
    checkTime(value, object.at(key).dump(), where);
    return value;
}

std::string stringIn(const json& object, const std::string& where, const char* key) {
    return member(object, where, key, json::value_t::string, "a string").get<std::string>();
}

std::string optionalString(const json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return {};
    if (!found->is_string())
        throw FormatError(std::string("expected \"") + key + "\" as a string");
    return found->get<std::string>();
}

} // namespace

std::vector<TimedLabel> readCueTsv(std::string_view text) {
    std::vector<TimedLabel> stretches;
    int number = 0;
    for (const std::string_view line : linesOf(text)) {
        ++number;
        const auto fields = fieldsOf(line);
        if (fields.empty())
            continue;
        double seconds = 0;
        if (fields.size() != 2 || !readNumber(fields[0], seconds))
            failAt(number, "expected a time in seconds and a mouth shape");
        if (seconds < 0 || (!stretches.empty() && seconds * 1000 < stretches.back().startMs))
            failAt(number, "the time goes back");
        checkTime(seconds, fields[0], "line " + std::to_string(number));
        const std::string label = labelOfCue(fields[1]);
        if (label.empty())
            failAt(number, "\"" + std::string(fields[1]) + "\" is not one of the shapes A to H, X");
        addStart(stretches, seconds * 1000, label);
    }
    if (stretches.empty())
        throw FormatError("no cues in the file");
    // The last "X" is where the list ends, not a cue of its own.
    if (stretches.size() > 1 && stretches.back().label == Vocabulary::labelOfDrawing('C'))
        stretches.pop_back();
    return stretches;
}

std::string writeCueTsv(const std::vector<TimedLabel>& stretches) {
    std::string out;
    for (const auto& [startMs, shape] : changesOf(
             stretches, [](std::string_view label) { return std::string(1, cueOfLabel(label)); }))
        out += jsonNumber(startMs / 1000) + "\t" + shape + "\n";
    out += jsonNumber(endOf(stretches) / 1000) + "\tX\n";
    return out;
}

CueList readCueJson(std::string_view text) {
    const json document = parsed(text);
    if (!document.is_object())
        throw FormatError("expected an object with \"mouthCues\"");
    const json& cues = member(document, "the file", "mouthCues", json::value_t::array, "a list");
    CueList list;
    std::vector<TimedLabel>& stretches = list.stretches;
    int number = 0;
    for (const json& cue : cues) {
        const std::string where = "cue " + std::to_string(++number);
        if (!cue.is_object())
            throw FormatError(where + ": expected an object with \"start\", \"end\" and \"value\"");
        const double start = numberIn(cue, where, "start");
        const double end = numberIn(cue, where, "end");
        const std::string value = stringIn(cue, where, "value");
        if (start < 0 || end < start)
            throw FormatError(where + ": the cue ends before it starts");
        if (!stretches.empty() && start * 1000 < stretches.back().endMs - 0.5)
            throw FormatError(where + ": the cue starts before the one ahead of it ends");
        const std::string label = labelOfCue(value);
        if (label.empty())
            throw FormatError(where + ": \"" + value + "\" is not one of the shapes A to H, X");
        stretches.push_back({start * 1000, end * 1000, label});
    }
    if (stretches.empty())
        throw FormatError("no cues in the file");
    if (const auto metadata = document.find("metadata");
        metadata != document.end() && metadata->is_object())
        if (const auto sound = metadata->find("soundFile");
            sound != metadata->end() && sound->is_string())
            list.soundFile = sound->get<std::string>();
    return list;
}

std::string writeCueJson(const std::vector<TimedLabel>& stretches, std::string_view soundFile) {
    const auto changes = changesOf(
        stretches, [](std::string_view label) { return std::string(1, cueOfLabel(label)); });
    std::string out = "{\n  \"metadata\": {\n    \"soundFile\": " + jsonQuoted(soundFile) +
                      ",\n    \"duration\": " + jsonNumber(endOf(stretches) / 1000) +
                      "\n  },\n  \"mouthCues\": [\n";
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const double end = i + 1 < changes.size() ? changes[i + 1].first : endOf(stretches);
        out += "    { \"start\": " + jsonNumber(changes[i].first / 1000) +
               ", \"end\": " + jsonNumber(end / 1000) +
               ", \"value\": " + jsonQuoted(changes[i].second) + " }" +
               (i + 1 < changes.size() ? "," : "") + "\n";
    }
    return out + "  ]\n}\n";
}

std::vector<TimedLabel> readSwitchData(std::string_view text, int fps, SwitchNames names) {
    const auto lines = linesOf(text);
    const auto header = lines.empty() ? std::vector<std::string_view>{} : fieldsOf(lines.front());
    if (header.size() != 1 || header.front() != kSwitchHeader)
        failAt(1, "expected the header \"MohoSwitch1\"");
    const auto isMouthName = [](std::string_view name) {
        return Vocabulary::labelOfSwitchName(name).has_value();
    };
    const auto isCue = [](std::string_view name) { return !labelOfCue(name).empty(); };
    if (names == SwitchNames::Either) {
        // The first name that only one set has decides; a file of names
        // both have ("E") reads as mouth names.
        names = SwitchNames::Mouths;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const auto fields = fieldsOf(lines[i]);
            if (fields.size() != 2 || isMouthName(fields[1]) == isCue(fields[1]))
                continue;
            names = isCue(fields[1]) ? SwitchNames::Cues : SwitchNames::Mouths;
            break;
        }
    }
    const bool cues = names == SwitchNames::Cues;
    std::vector<TimedLabel> stretches;
    double previous = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        const auto fields = fieldsOf(lines[i]);
        if (fields.empty())
            continue;
        double frame = 0;
        if (fields.size() != 2 || !readNumber(fields[0], frame) || frame != std::floor(frame) ||
            frame < 1)
            failAt(number, cues ? "expected a frame number from 1 and a cue letter"
                                : "expected a frame number from 1 and a mouth name");
        if (frame < previous)
            failAt(number, "the frame goes back");
        checkTime((frame - 1) / fps, fields[0], "line " + std::to_string(number));
        previous = frame;
        std::string label;
        if (cues)
            label = labelOfCue(fields[1]);
        else if (const auto mouth = Vocabulary::labelOfSwitchName(fields[1]))
            label = *mouth;
        if (label.empty())
            failAt(number,
                   "\"" + std::string(fields[1]) + "\" is not a " +
                       (cues ? "cue letter (A to H, X), as the file's others are" : "mouth name"));
        addStart(stretches, (frame - 1) * 1000.0 / fps, label);
    }
    if (stretches.empty())
        throw FormatError("no frames in the file");
    return stretches;
}

std::string writeSwitchData(const std::vector<TimedLabel>& stretches, int fps) {
    std::string out = std::string(kSwitchHeader) + "\n";
    std::vector<std::pair<long long, std::string>> frames;
    for (const auto& [startMs, name] : changesOf(stretches, Vocabulary::switchNameOf)) {
        const long long frame = 1 + std::llround(startMs * fps / 1000);
        // Changes that fall on one frame: the last one shows.
        if (!frames.empty() && frames.back().first == frame)
            frames.pop_back();
        if (frames.empty() || frames.back().second != name)
            frames.emplace_back(frame, name);
    }
    for (const auto& [frame, name] : frames)
        out += std::to_string(frame) + " " + name + "\n";
    return out;
}

Timing readTimingJson(std::string_view text) {
    const json document = parsed(text);
    if (!document.is_object() || !document.contains("format") ||
        document["format"] != kTimingFormat)
        throw FormatError("expected an object with \"format\": \"visemer-timing\"");
    const json& version =
        member(document, "the file", "version", json::value_t::number_float, "a number");
    if (version != kTimingVersion)
        throw FormatError("version " + version.dump() + " is not one this program reads");
    Timing timing;
    const std::string kind = optionalString(document, "kind");
    if (kind != "project" && kind != "reduced")
        throw FormatError("expected \"kind\" as \"project\" or \"reduced\"");
    timing.reduced = kind == "reduced";
    timing.fps = optionalString(document, "fps");
    const std::string playback = optionalString(document, "timing");
    if (!timing.reduced && playback != "browser" && playback != "projector")
        throw FormatError("expected \"timing\" as \"browser\" or \"projector\"");
    timing.browser = playback == "browser";
    timing.audio = optionalString(document, "audio");
    int number = 0;
    for (const json& row : member(document, "the file", "rows", json::value_t::array, "a list")) {
        const std::string where = "row " + std::to_string(++number);
        if (!row.is_object())
            throw FormatError(where + ": expected an object with \"label\" and \"delay\"");
        timing.rows.push_back({stringIn(row, where, "label"), stringIn(row, where, "delay")});
    }
    if (timing.reduced) {
        // As a reduced file reads: no rate, "Projector", no clip.
        timing.fps.clear();
        timing.browser = false;
        timing.audio.clear();
    }
    return timing;
}

JsonTiming jsonTimingIn(std::string_view text) {
    json document;
    try {
        document = json::parse(text, nullptr, false);
    } catch (const json::exception&) {
        return JsonTiming::Other;
    }
    if (!document.is_object())
        return JsonTiming::Other;
    if (document.contains("format") && document["format"] == kTimingFormat)
        return JsonTiming::Timing;
    if (document.contains("mouthCues"))
        return JsonTiming::Cues;
    return JsonTiming::Other;
}

std::string writeTimingJson(const Timing& timing) {
    const double unit = delayUnitMs(timing);
    const auto timed = timeRows(timing, unit);
    std::ostringstream out;
    out << "{\n  \"format\": " << jsonQuoted(kTimingFormat)
        << ",\n  \"version\": " << kTimingVersion
        << ",\n  \"kind\": " << (timing.reduced ? "\"reduced\"" : "\"project\"");
    if (!timing.reduced)
        out << ",\n  \"fps\": " << jsonQuoted(timing.fps)
            << ",\n  \"timing\": " << (timing.browser ? "\"browser\"" : "\"projector\"")
            << ",\n  \"audio\": " << jsonQuoted(timing.audio);
    out << ",\n  \"delayUnitMs\": " << jsonNumber(unit) << ",\n  \"rows\": [";
    for (std::size_t i = 0; i < timing.rows.size(); ++i) {
        const TimingRow& row = timing.rows[i];
        const auto drawing = Vocabulary::drawingOf(row.label);
        const auto frame = PhonemeTable::clipFrameOf(row.label);
        out << (i ? ",\n" : "\n") << "    { \"label\": " << jsonQuoted(row.label)
            << ", \"delay\": " << jsonQuoted(row.delay)
            << ", \"startMs\": " << jsonNumber(timed[i].startMs)
            << ", \"endMs\": " << jsonNumber(timed[i].endMs)
            << ", \"drawing\": " << (drawing ? jsonQuoted(std::string(1, *drawing)) : "null")
            << ", \"clipFrame\": " << (frame ? std::to_string(*frame) : "null") << " }";
    }
    out << (timing.rows.empty() ? "]\n}\n" : "\n  ]\n}\n");
    return out.str();
}

} // namespace visemer
