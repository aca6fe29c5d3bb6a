#pragma once

#include "tool/BatchDraft.h"

#include <string>
#include <vector>

namespace visemer::tool {

// A batch's report read back, TSV or JSON as draft --report writes it.
// InputError for a file that is neither.
std::vector<LineOutcome> readReport(const std::string& path);

// The projects below a folder (drafts beside corrected ones left out),
// each with the figures its folder's ledger keeps for it, as a report
// would give them.
std::vector<LineOutcome> projectsBelow(const std::string& folder);

} // namespace visemer::tool
