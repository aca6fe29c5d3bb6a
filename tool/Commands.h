#pragma once

#include <string>
#include <vector>

namespace visemer::tool {

// Each subcommand takes the words after its name and returns the exit
// status; they throw UsageError and InputError for the caller to report.
int runDraft(const std::vector<std::string>& words);
int runConvert(const std::vector<std::string>& words);
int runExport(const std::vector<std::string>& words);
int runCheck(const std::vector<std::string>& words);
int runRender(const std::vector<std::string>& words);
int runReview(const std::vector<std::string>& words);

// Prints the subcommand's help and returns true when "--help" is among the
// words.
bool helpAsked(const std::vector<std::string>& words, const char* help);

} // namespace visemer::tool
