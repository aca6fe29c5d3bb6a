#pragma once

#include "tool/BatchDraft.h"

#include <string>
#include <vector>

namespace visemer::tool {

// The lines in the order to look at them: failed, then those that need a
// look, then the drafts by confidence, lowest first; ties by clip.
std::vector<LineOutcome> worstFirst(std::vector<LineOutcome> outcomes);

// A report with a line per clip, as tab-separated values with a header or
// as a JSON array of objects, with the same fields: clip, status, reason,
// project, seconds, rows, left_out, not_reached, confidence.
std::string reportTsv(const std::vector<LineOutcome>& outcomes);
std::string reportJson(const std::vector<LineOutcome>& outcomes);
// A report's format by its name: JSON for ".json", else TSV.
bool isJsonReport(const std::string& path);

// One line's JSON object for a pipeline's own progress display, with how
// many lines have ended of how many.
std::string progressJson(const LineOutcome& outcome, std::size_t done, std::size_t total);

} // namespace visemer::tool
