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

// Cue lists: a start time in seconds and a cue shape (A to H, X) per line;
// each cue lasts until the next one starts, the last one marks the end.
std::vector<TimedLabel> readCueTsv(std::string_view text);
std::string writeCueTsv(const std::vector<TimedLabel>& stretches);

// The same cues as JSON: {"mouthCues": [{"start", "end", "value"}, ...]}.
std::vector<TimedLabel> readCueJson(std::string_view text);
std::string writeCueJson(const std::vector<TimedLabel>& stretches, std::string_view soundFile);

// Switch data: a "MohoSwitch1" line, then "FRAME NAME" per change, frames
// counted from 1 at the given rate.
std::vector<TimedLabel> readSwitchData(std::string_view text, int fps);
std::string writeSwitchData(const std::vector<TimedLabel>& stretches, int fps);

// This program's own JSON: the rows with their texts, settings and, for
// reading by other programs, each row's times, drawing and clip frame.
// Only "kind", "fps", "timing", "audio" and the rows' "label" and "delay"
// are read back, so a project survives the trip byte for byte.
Timing readTimingJson(std::string_view text);
std::string writeTimingJson(const Timing& timing);

} // namespace visemer
