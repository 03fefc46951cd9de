#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Result.h"

// Integer entry fields of the grid and of the dialogs read numbers here, and corvane-cli set
// reads its values here, so all refuse the same texts with the same words. Pure; take any bytes.

// The inclusive range an integer entry must lie in.
struct IntegerRange {
    std::int32_t min = INT32_MIN;
    std::int32_t max = INT32_MAX;
};

// A component's int16 fields in the panel: a larger number typed is refused, never cut.
inline constexpr IntegerRange componentFieldRange{INT16_MIN, INT16_MAX};
// A point's values in the 检测结果 dialog (mm).
inline constexpr IntegerRange pointDiameterRange{0, 99};
inline constexpr IntegerRange pointThicknessRange{0, 99};
inline constexpr IntegerRange pointPositionRange{0, 2000};

// "请输入一个介于 A 和 B 之间的整数。" for `range`.
std::string integerRangeMessage(IntegerRange range);

// An entry field that must hold a whole decimal integer: blanks around it and a sign are
// allowed, nothing else. Text that is no integer gives "请输入一个整数。", an integer outside
// `range` (however long) the range message.
Result<std::int32_t> parseWholeInteger(std::string_view text, IntegerRange range);

// What an integer item makes of its in-place editor's text: the leading decimal number (blanks,
// an optional sign, then digits; the rest is ignored). A text without those digits is refused
// with "请输入一个整数。"; a number outside `range`, however many digits it has, with the range
// message rather than wrapped.
Result<std::int32_t> parseLeadingInteger(std::string_view text, IntegerRange range);
