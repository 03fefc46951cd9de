#include "cli/CliArguments.h"

Status CliArguments::parse(const std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() < 2 || w[0] != '-') {
            positional_.push_back(w);
            continue;
        }
        std::string name = w;
        std::optional<std::string> inlineValue;
        if (auto eq = w.find('='); eq != std::string::npos && w.rfind("--", 0) == 0) {
            name = w.substr(0, eq);
            inlineValue = w.substr(eq + 1);
        }
        if (flags_.count(name) && !inlineValue) {
            setFlags_.insert(name);
        } else if (valueOptions_.count(name)) {
            if (inlineValue) {
                values_.emplace(name, *inlineValue);
            } else if (i + 1 < words.size()) {
                values_.emplace(name, words[++i]);
            } else {
                return Error{"选项 " + name + " 缺少参数值"};
            }
        } else {
            return Error{"未知选项 " + w};
        }
    }
    return Status::success();
}

std::optional<std::string> CliArguments::value(const std::string& option) const {
    auto range = values_.equal_range(option);
    if (range.first == range.second) return std::nullopt;
    return std::prev(range.second)->second;  // the last one given wins
}

std::vector<std::string> CliArguments::values(const std::string& option) const {
    std::vector<std::string> out;
    for (auto [it, end] = values_.equal_range(option); it != end; ++it) out.push_back(it->second);
    return out;
}
