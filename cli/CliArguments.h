#pragma once

#include <map>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Result.h"

// One option a command accepts.
struct CliOption {
    enum class Value { None, Required, Optional };

    std::string_view name;
    Value value = Value::Required;
    bool repeats = false;     // may be given more than once (each value is kept)
    bool storedText = false;  // its value is stored or compared as text: valid UTF-8 only
};

// The words of one sub-command against the options it declares: positional words, options
// with a value ("--x V" or "--x=V"; an optional value only when the next word is no option)
// and flags. Anything not declared, an option given twice that may not repeat and a stored
// text that is not UTF-8 are errors, so a typo never passes silently. File paths are taken
// as the bytes they are; "-" alone is a positional word (standard input or output), and so is
// every word after "--", which ends the options.
class CliArguments {
public:
    explicit CliArguments(std::span<const CliOption> options) : options_(options) {}

    Status parse(const std::vector<std::string>& words);

    const std::vector<std::string>& positional() const { return positional_; }
    bool has(std::string_view option) const { return given_.count(std::string(option)) != 0; }
    // The value given; empty also for an optional value left out.
    std::optional<std::string> value(std::string_view option) const;
    std::vector<std::string> values(std::string_view option) const;

private:
    const CliOption* find(std::string_view name) const;

    std::span<const CliOption> options_;
    std::vector<std::string> positional_;
    std::multimap<std::string, std::string> values_;
    std::set<std::string> given_;
};

// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or code points past
// U+10FFFF).
bool isValidUtf8(std::string_view text);
