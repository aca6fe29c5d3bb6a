#include "tool/Arguments.h"

#include "tool/Commands.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace visemer::tool {

Arguments::Arguments(const std::vector<std::string>& words, const std::vector<Option>& known) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.rfind("-", 0) != 0) {
            positional_.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word.rfind("--", 0) != 0 && word != "-o")
            throw UsageError("unknown option " + word);
        std::string name = word == "-o" ? "output" : word.substr(2);
        std::optional<std::string> inlineValue;
        if (const auto equals = name.find('='); equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        const Option* option = nullptr;
        for (const Option& candidate : known)
            if (candidate.name == name)
                option = &candidate;
        if (!option)
            throw UsageError("unknown option " + (word == "-o" ? word : "--" + name));
        if (!option->takesValue) {
            if (inlineValue)
                throw UsageError("--" + name + " takes no value");
            values_[name] = "";
        } else if (inlineValue) {
            values_[name] = *inlineValue;
        } else if (i + 1 < words.size()) {
            values_[name] = words[++i];
        } else {
            throw UsageError("--" + name + " needs a value");
        }
    }
}

std::optional<std::string> Arguments::value(const std::string& name) const {
    const auto found = values_.find(name);
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

std::optional<int> Arguments::number(const std::string& name, int lowest, int highest) const {
    const auto text = value(name);
    if (!text)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text->c_str(), &end, 10);
    if (text->empty() || *end != '\0' || errno != 0 || number < lowest || number > highest)
        throw UsageError("--" + name + " takes a whole number from " + std::to_string(lowest) +
                         " to " + std::to_string(highest));
    return static_cast<int>(number);
}

void Arguments::expectPositional(std::size_t least, std::size_t most) const {
    if (positional_.size() < least)
        throw UsageError("missing arguments");
    if (positional_.size() > most)
        throw UsageError("unexpected argument " + positional_[most]);
}

bool helpAsked(const std::vector<std::string>& words, const char* help) {
    for (const std::string& word : words) {
        if (word == "--")
            return false;
        if (word == "--help" || word == "-h") {
            std::fputs(help, stdout);
            return true;
        }
    }
    return false;
}

} // namespace visemer::tool
