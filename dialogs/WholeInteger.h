#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Result.h"

// The inclusive range an integer entry must lie in.
struct IntegerRange {
    std::int32_t min = INT32_MIN;
    std::int32_t max = INT32_MAX;
};

// "请输入一个介于 A 和 B 之间的整数。" for `range`.
std::string integerRangeMessage(IntegerRange range);

// An entry field that must hold a whole decimal integer: blanks around it and a sign are
// allowed, nothing else. Text that is no integer gives "请输入一个整数。", an integer outside
// `range` (however long) the range message.
Result<std::int32_t> parseWholeInteger(std::string_view text, IntegerRange range);
