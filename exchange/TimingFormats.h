#pragma once

#include "exchange/Json.h"
#include "exchange/Timing.h"

#include <string>
#include <string_view>
#include <vector>

namespace visemer {

// The timing files other tools read and write. Each reader throws
// FormatError naming the line at fault; stretches come back in time order
// with labels chosen by the tables of Vocabulary.

// Times in these files are plain decimals ("0.25", never "1e-1" or
// "0x1p0") and go no further than the editor can wait in one step:
// 2147483647 ms.
inline constexpr double kLongestTimeSeconds = 2147483.647;

// Cue lists: a start time in seconds and a cue shape (A to H, X) per line;
// each cue lasts until the next one starts. A last "X" marks the end; a
// list without it ends with a cue of no length.
std::vector<TimedLabel> readCueTsv(std::string_view text);
std::string writeCueTsv(const std::vector<TimedLabel>& stretches);

// The same cues as JSON: {"mouthCues": [{"start", "end", "value"}, ...]},
// with the clip they were made from under "metadata".
struct CueList {
    std::vector<TimedLabel> stretches;
    std::string soundFile;
};
CueList readCueJson(std::string_view text);
std::string writeCueJson(const std::vector<TimedLabel>& stretches, std::string_view soundFile);

// Switch data: a "MohoSwitch1" line, then "FRAME NAME" per change, frames
// counted from 1 at the given rate. Its mouths are named by the ten mouth
// names (AI, E, MBP, rest ...) or, as recognizers write it, by the cue
// letters A to H and X. Either: the first name only one set has decides,
// and a file whose names both have ("E") reads as mouth names.
enum class SwitchNames { Either, Mouths, Cues };
std::vector<TimedLabel> readSwitchData(std::string_view text, int fps,
                                       SwitchNames names = SwitchNames::Either);
std::string writeSwitchData(const std::vector<TimedLabel>& stretches, int fps);

// This program's own JSON: the rows with their texts, settings and, for
// reading by other programs, each row's times, drawing and clip frame.
// Only "kind", "fps", "timing", "audio" and the rows' "label" and "delay"
// are read back, so a project survives the trip byte for byte.
Timing readTimingJson(std::string_view text);

// What a JSON file holds, told apart by its keys: cues, this program's
// timing, or something else (also for text that is not JSON).
enum class JsonTiming { Cues, Timing, Other };
JsonTiming jsonTimingIn(std::string_view text);
std::string writeTimingJson(const Timing& timing);

} // namespace visemer
