#pragma once

#include <string>
#include <string_view>

// What GbkCodec.cpp asks of the converter of the system the model is built for
// (GbkCodecPosix.cpp or GbkCodecWindows.cpp).
namespace gbk {

enum class Direction { GbkToUtf8, Utf8ToGbk, Utf16ToGbk };

// The one call into the platform's converter: the whole of `in`, or false when a sequence of
// it cannot be converted. UTF-16 comes as its little-endian bytes.
bool platformConvert(Direction direction, std::string_view in, std::string& out);

}  // namespace gbk
