#include "model/IntegerEntry.h"

#include <algorithm>

std::string integerRangeMessage(IntegerRange range) {
    return "请输入一个介于 " + std::to_string(range.min) + " 和 " + std::to_string(range.max) +
           " 之间的整数。";
}

Result<std::int32_t> parseWholeInteger(std::string_view text, IntegerRange range) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return Result<std::int32_t>::failure("请输入一个整数。");
    text = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);
    if (text.empty()) return Result<std::int32_t>::failure("请输入一个整数。");

    // Saturate instead of overflowing: anything this large is out of every range anyway.
    constexpr std::int64_t cap = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return Result<std::int32_t>::failure("请输入一个整数。");
        if (magnitude < cap) magnitude = magnitude * 10 + (c - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < range.min || value > range.max) {
        return Result<std::int32_t>::failure(integerRangeMessage(range));
    }
    return static_cast<std::int32_t>(value);
}

Result<std::int32_t> parseLeadingInteger(std::string_view text, IntegerRange range) {
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+')) text.remove_prefix(1);

    // Saturate instead of overflowing: anything this large is out of every range anyway.
    constexpr std::int64_t cap = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    std::size_t digits = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (magnitude < cap) magnitude = magnitude * 10 + (c - '0');
        ++digits;
    }
    // One slip must not wipe a design value to 0.
    if (digits == 0) return Result<std::int32_t>::failure("请输入一个整数。");
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < range.min || value > range.max) {
        return Result<std::int32_t>::failure(integerRangeMessage(range));
    }
    return static_cast<std::int32_t>(value);
}
