#include "exchange/ProjectDocument.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "tool/Arguments.h"
#include "tool/Commands.h"
#include "tool/FileChecks.h"
#include "tool/Messages.h"
#include "tool/TimingFiles.h"

namespace visemer::tool {
namespace {

constexpr const char* kHelp =
    "usage: visemer-tool export PROJECT.vsq SCRIPT.as\n"
    "\n"
    "Writes the project's clip-event script, as the editor's Export Script does.\n"
    "Rows the script will carry oddly (labels outside the 30, delays that are\n"
    "empty, not plain numbers or below 1) are noted on stderr.\n"
    "\n"
    "  --help  show this help\n";

// Row numbers for a note: "3, 7 and 9", at most ten of them.
std::string rowNumbers(const std::vector<std::size_t>& rows) {
    constexpr std::size_t kNamed = 10;
    std::string list;
    for (std::size_t i = 0; i < rows.size() && i < kNamed; ++i)
        list +=
            (i == 0 ? "" : (i + 1 == rows.size() ? " and " : ", ")) + std::to_string(rows[i] + 1);
    if (rows.size() > kNamed)
        list += " and " + std::to_string(rows.size() - kNamed) + " more";
    return list;
}

void noteOddRows(const Timing& timing, const std::string& script) {
    std::vector<std::size_t> unknown, oddDelay;
    for (std::size_t row = 0; row < timing.rows.size(); ++row) {
        const TimingRow& cells = timing.rows[row];
        if (!PhonemeTable::find(cells.label))
            unknown.push_back(row);
        if (cells.delay.empty() || writeDecimal(readDecimal(cells.delay)) != cells.delay ||
            readDecimal(cells.delay) < 1)
            oddDelay.push_back(row);
    }
    if (!unknown.empty())
        note(script + ": " + counted(unknown.size(), "row") + " with a label outside the 30 (" +
             (unknown.size() == 1 ? "row " : "rows ") + rowNumbers(unknown) +
             ") go into the script as the label itself, not a frame number");
    if (!oddDelay.empty())
        note(script + ": " + counted(oddDelay.size(), "row") +
             " with a delay that is empty, not a plain number or below 1 (" +
             (oddDelay.size() == 1 ? "row " : "rows ") + rowNumbers(oddDelay) +
             ") go into the script as they stand");
}

} // namespace

int runExport(const std::vector<std::string>& words) {
    if (helpAsked(words, kHelp))
        return kSuccess;
    const Arguments arguments(words, {});
    arguments.expectPositional(2, 2);
    const std::string& project = arguments.positional()[0];
    const std::string& script = arguments.positional()[1];
    checkOutput(script, {project});
    const Timing timing = readProjectFile(project);
    noteOddRows(timing, script);
    if (!writeScript(script, timing))
        throw InputError("cannot write " + script + ": " + systemReason());
    return kSuccess;
}

} // namespace visemer::tool
