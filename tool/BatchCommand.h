#pragma once

#include "tool/Arguments.h"

namespace visemer::tool {

// draft with many clips: several names, folders or a list, or any of the
// options only a batch takes (--list, --jobs, --shard, --report, --force,
// --dry-run, --progress).
bool wantsBatch(const Arguments& arguments);
int runDraftBatch(const Arguments& arguments);

} // namespace visemer::tool
