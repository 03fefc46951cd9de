#include "controls/LeadingInteger.h"

Result<std::int32_t> parseLeadingInteger(std::string_view text, IntegerRange range) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    // Saturate instead of overflowing: anything this large is out of every range anyway.
    constexpr std::int64_t cap = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < cap) magnitude = magnitude * 10 + (text[i] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value < range.min || value > range.max) {
        return Result<std::int32_t>::failure(integerRangeMessage(range));
    }
    return static_cast<std::int32_t>(value);
}
