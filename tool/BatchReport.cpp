#include "tool/BatchReport.h"

#include "exchange/Json.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <cstdio>

namespace visemer::tool {
namespace {

int rankOf(LineStatus status) {
    switch (status) {
    case LineStatus::Failed:
        return 0;
    case LineStatus::NeedsALook:
        return 1;
    default:
        return 2;
    }
}

std::string tsvCell(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r')
            c = ' ';
    return text;
}

std::string decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string jsonFields(const LineOutcome& outcome) {
    std::string fields = "\"clip\": " + jsonQuoted(outcome.clip) +
                         ", \"status\": " + jsonQuoted(statusName(outcome.status)) +
                         ", \"reason\": " + jsonQuoted(outcome.reason) +
                         ", \"project\": " + jsonQuoted(outcome.project);
    if (const auto& figures = outcome.figures) {
        fields += ", \"seconds\": " + jsonNumber(figures->seconds) +
                  ", \"rows\": " + std::to_string(figures->rows) +
                  ", \"left_out\": " + std::to_string(figures->wordsLeftOut) +
                  ", \"not_reached\": " + std::to_string(figures->wordsNotReached) +
                  ", \"confidence\": " +
                  (figures->confidence ? jsonNumber(*figures->confidence) : "null");
    }
    return fields;
}

} // namespace

std::vector<LineOutcome> worstFirst(std::vector<LineOutcome> outcomes) {
    const auto confidence = [](const LineOutcome& outcome) {
        return outcome.figures && outcome.figures->confidence ? *outcome.figures->confidence : 2.0;
    };
    std::stable_sort(outcomes.begin(), outcomes.end(),
                     [&](const LineOutcome& a, const LineOutcome& b) {
                         if (rankOf(a.status) != rankOf(b.status))
                             return rankOf(a.status) < rankOf(b.status);
                         if (confidence(a) != confidence(b))
                             return confidence(a) < confidence(b);
                         return a.clip < b.clip;
                     });
    return outcomes;
}

std::string reportTsv(const std::vector<LineOutcome>& outcomes) {
    std::string text =
        "clip\tstatus\treason\tproject\tseconds\trows\tleft_out\tnot_reached\tconfidence\n";
    for (const LineOutcome& outcome : outcomes) {
        text += tsvCell(outcome.clip) + '\t' + statusName(outcome.status) + '\t' +
                tsvCell(outcome.reason) + '\t' + tsvCell(outcome.project);
        if (const auto& figures = outcome.figures)
            text += '\t' + decimal(figures->seconds) + '\t' + std::to_string(figures->rows) + '\t' +
                    std::to_string(figures->wordsLeftOut) + '\t' +
                    std::to_string(figures->wordsNotReached) + '\t' +
                    (figures->confidence ? decimal(*figures->confidence) : "");
        else
            text += "\t\t\t\t\t";
        text += '\n';
    }
    return text;
}

std::string reportJson(const std::vector<LineOutcome>& outcomes) {
    std::string text = "[";
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        text += std::string(i ? ",\n " : "\n ") + "{" + jsonFields(outcomes[i]) + "}";
    return text + (outcomes.empty() ? "]\n" : "\n]\n");
}

bool isJsonReport(const std::string& path) {
    return path.size() >= 5 && equalIgnoringAsciiCase(path.substr(path.size() - 5), ".json");
}

std::string progressJson(const LineOutcome& outcome, std::size_t done, std::size_t total) {
    return "{\"done\": " + std::to_string(done) + ", \"total\": " + std::to_string(total) + ", " +
           jsonFields(outcome) + "}";
}

} // namespace visemer::tool
