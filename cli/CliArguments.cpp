#include "cli/CliArguments.h"

const CliOption* CliArguments::find(std::string_view name) const {
    for (const CliOption& o : options_) {
        if (o.name == name) return &o;
    }
    return nullptr;
}

Status CliArguments::parse(const std::vector<std::string>& words) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--" && !optionsEnded) {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || w.size() < 2 || w[0] != '-') {
            positional_.push_back(w);
            continue;
        }
        std::string name = w;
        std::optional<std::string> value;
        if (auto eq = w.find('='); eq != std::string::npos && w.rfind("--", 0) == 0) {
            name = w.substr(0, eq);
            value = w.substr(eq + 1);
        }
        const CliOption* option = find(name);
        if (!option || (option->value == CliOption::Value::None && value)) {
            return Error{"未知选项 " + w};
        }
        if (given_.count(name) && !option->repeats) return Error{"选项 " + name + " 只能给一次"};
        given_.insert(name);
        if (!value && option->value == CliOption::Value::Required) {
            if (i + 1 >= words.size()) return Error{"选项 " + name + " 缺少参数值"};
            value = words[++i];
        } else if (!value && option->value == CliOption::Value::Optional && i + 1 < words.size() &&
                   !words[i + 1].starts_with("-")) {
            value = words[++i];
        }
        if (!value) continue;
        if (option->storedText && !isValidUtf8(*value)) {
            return Error{"选项 " + name + " 的文字不是有效的 UTF-8 编码"};
        }
        values_.emplace(name, std::move(*value));
    }
    return Status::success();
}

std::optional<std::string> CliArguments::value(std::string_view option) const {
    const auto it = values_.find(std::string(option));
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> CliArguments::values(std::string_view option) const {
    std::vector<std::string> out;
    for (auto [it, end] = values_.equal_range(std::string(option)); it != end; ++it) {
        out.push_back(it->second);
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 0;
        char32_t code = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0Fu;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07u;
        } else {
            return false;
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0u) != 0x80u) return false;
            code = (code << 6) | (next & 0x3Fu);
        }
        const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}
