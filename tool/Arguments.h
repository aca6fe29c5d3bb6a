#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace visemer::tool {

// Wrong use of the command line: status 2, with the usage line.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bad input or a failed write: status 1.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum ExitStatus : int { kSuccess = 0, kBadInput = 1, kBadUsage = 2 };

// A subcommand's arguments: options ("--name" or "--name VALUE", also
// "--name=VALUE"), "--" ending them, and the rest in order.
class Arguments {
public:
    struct Option {
        std::string name; // without the dashes
        bool takesValue;
    };

    // "-o" stands for "--output".
    Arguments(const std::vector<std::string>& words, const std::vector<Option>& known);

    bool has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> value(const std::string& name) const;
    // A whole number within bounds, or UsageError.
    std::optional<int> number(const std::string& name, int lowest, int highest) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // UsageError unless there are between least and most positional words.
    void expectPositional(std::size_t least, std::size_t most) const;

private:
    std::map<std::string, std::string> values_;
    std::vector<std::string> positional_;
};

} // namespace visemer::tool
