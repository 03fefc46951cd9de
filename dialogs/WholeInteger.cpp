#include "dialogs/WholeInteger.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string integerRangeMessage(IntegerRange range) {
    return "请输入一个介于 " + std::to_string(range.min) + " 和 " + std::to_string(range.max) +
           " 之间的整数。";
}

Result<std::int32_t> parseWholeInteger(std::string_view text, IntegerRange range) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    const bool negative = begin < end && text[begin] == '-';
    if (begin < end && (text[begin] == '-' || text[begin] == '+')) ++begin;
    if (begin == end) return Result<std::int32_t>::failure("请输入一个整数。");

    // Saturate instead of overflowing: anything this large is out of every range anyway.
    constexpr std::int64_t cap = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (!isDigit(text[i])) return Result<std::int32_t>::failure("请输入一个整数。");
        if (magnitude < cap) magnitude = magnitude * 10 + (text[i] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < range.min || value > range.max) {
        return Result<std::int32_t>::failure(integerRangeMessage(range));
    }
    return static_cast<std::int32_t>(value);
}
