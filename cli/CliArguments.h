#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/Result.h"

// The words of one sub-command: positional words, options that take a value (possibly
// repeated) and flags. Anything not declared is an error, so a typo never passes silently.
class CliArguments {
public:
    CliArguments(std::set<std::string> valueOptions, std::set<std::string> flags)
        : valueOptions_(std::move(valueOptions)), flags_(std::move(flags)) {}

    // Fails on an unknown option or an option missing its value.
    Status parse(const std::vector<std::string>& words);

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(const std::string& flag) const { return setFlags_.count(flag) != 0; }
    std::optional<std::string> value(const std::string& option) const;
    std::vector<std::string> values(const std::string& option) const;

private:
    std::set<std::string> valueOptions_;
    std::set<std::string> flags_;
    std::vector<std::string> positional_;
    std::multimap<std::string, std::string> values_;
    std::set<std::string> setFlags_;
};
