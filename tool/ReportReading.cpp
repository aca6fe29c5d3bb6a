#include "tool/ReportReading.h"

#include "tool/Arguments.h"
#include "tool/BatchReport.h"
#include "tool/FileChecks.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

namespace visemer::tool {
namespace {

namespace fs = std::filesystem;

LineStatus statusNamed(const std::string& name) {
    for (const LineStatus status :
         {LineStatus::Drafted, LineStatus::UpToDate, LineStatus::KeptCorrections,
          LineStatus::NeedsALook, LineStatus::ToDraft, LineStatus::Failed})
        if (name == statusName(status))
            return status;
    throw InputError("\"" + name + "\" is no line's status");
}

std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');)
        cells.push_back(cell);
    if (!line.empty() && line.back() == '\t')
        cells.emplace_back();
    return cells;
}

std::optional<double> numberOf(const std::string& text) {
    if (text.empty())
        return std::nullopt;
    char* rest = nullptr;
    const double value = std::strtod(text.c_str(), &rest);
    if (*rest != '\0')
        throw InputError("\"" + text + "\" is no number");
    return value;
}

std::vector<LineOutcome> readTsv(const std::string& text, const std::string& path) {
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    if (line.rfind("clip\tstatus\treason\tproject", 0) != 0)
        throw InputError(path + " is no report of visemer-tool draft: " + whatItLooksLike(text));
    std::vector<LineOutcome> outcomes;
    for (std::size_t number = 2; std::getline(in, line); ++number) {
        if (line.empty())
            continue;
        const std::vector<std::string> cells = cellsOf(line);
        if (cells.size() < 4)
            throw InputError(path + " line " + std::to_string(number) + ": too few fields");
        LineOutcome outcome;
        outcome.clip = cells[0];
        outcome.status = statusNamed(cells[1]);
        outcome.reason = cells[2];
        outcome.project = cells[3];
        if (cells.size() >= 9 && !cells[4].empty()) {
            DraftFigures figures;
            figures.seconds = numberOf(cells[4]).value_or(0);
            figures.rows = static_cast<std::size_t>(numberOf(cells[5]).value_or(0));
            figures.wordsLeftOut = static_cast<std::size_t>(numberOf(cells[6]).value_or(0));
            figures.wordsNotReached = static_cast<std::size_t>(numberOf(cells[7]).value_or(0));
            figures.confidence = numberOf(cells[8]);
            outcome.figures = figures;
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

std::vector<LineOutcome> readJson(const std::string& text, const std::string& path) {
    const nlohmann::json report = nlohmann::json::parse(text, nullptr, false);
    if (!report.is_array())
        throw InputError(path + " is no report of visemer-tool draft: " + whatItLooksLike(text));
    std::vector<LineOutcome> outcomes;
    for (const nlohmann::json& line : report) {
        if (!line.is_object() || !line.contains("clip") || !line.contains("status") ||
            !line["clip"].is_string() || !line["status"].is_string())
            throw InputError(path + " holds a line without its clip and status");
        LineOutcome outcome;
        outcome.clip = line["clip"].get<std::string>();
        outcome.status = statusNamed(line["status"].get<std::string>());
        outcome.reason = line.value("reason", "");
        outcome.project = line.value("project", "");
        if (line.contains("rows") && line["rows"].is_number()) {
            DraftFigures figures;
            figures.seconds = line.value("seconds", 0.0);
            figures.rows = line.value("rows", std::size_t{0});
            figures.wordsLeftOut = line.value("left_out", std::size_t{0});
            figures.wordsNotReached = line.value("not_reached", std::size_t{0});
            if (line.contains("confidence") && line["confidence"].is_number())
                figures.confidence = line["confidence"].get<double>();
            outcome.figures = figures;
        }
        outcomes.push_back(std::move(outcome));
    }
    return outcomes;
}

} // namespace

std::vector<LineOutcome> readReport(const std::string& path) {
    const std::string text = readWholeFile(path);
    try {
        return isJsonReport(path) ? readJson(text, path) : readTsv(text, path);
    } catch (const nlohmann::json::exception& error) {
        throw InputError(path + ": " + error.what());
    } catch (const InputError& error) {
        throw InputError(std::string(error.what()).rfind(path, 0) == 0
                             ? error.what()
                             : path + ": " + error.what());
    }
}

std::vector<LineOutcome> projectsBelow(const std::string& folder) {
    std::vector<LineOutcome> outcomes;
    std::map<std::string, std::map<std::string, LedgerEntry>> ledgers;
    std::error_code error;
    for (fs::recursive_directory_iterator walk(folder, error), end; !error && walk != end;
         walk.increment(error)) {
        const std::string name = walk->path().filename().string();
        if (walk->path().extension() != ".vsq" || name.size() < 5 ||
            name.find(".draft.vsq") != std::string::npos || !walk->is_regular_file(error))
            continue;
        const std::string parent = walk->path().parent_path().string();
        if (!ledgers.count(parent))
            ledgers[parent] = readLedger(parent);
        LineOutcome outcome;
        outcome.project = walk->path().string();
        outcome.status = LineStatus::Drafted;
        if (const auto entry = ledgers[parent].find(name); entry != ledgers[parent].end())
            outcome.figures = entry->second.figures;
        outcomes.push_back(std::move(outcome));
    }
    if (error)
        throw InputError("cannot read the folder " + folder + ": " + error.message());
    return outcomes;
}

} // namespace visemer::tool
