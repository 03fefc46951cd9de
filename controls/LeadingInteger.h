#pragma once

#include <cstdint>
#include <string_view>

#include "dialogs/WholeInteger.h"
#include "model/Result.h"

// What an integer item makes of its in-place editor's text: the leading decimal number (blanks,
// an optional sign, then digits; the rest is ignored). A text without those digits is refused
// with "请输入一个整数。"; a number outside `range`, however many digits it has, with the range
// message rather than wrapped. Pure; takes any bytes.
Result<std::int32_t> parseLeadingInteger(std::string_view text, IntegerRange range);
