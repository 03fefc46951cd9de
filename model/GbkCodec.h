#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// GBK (code page 936) is the encoding of every stored text. This is the one place that
// talks to the platform's code-page converter; everything else passes GBK bytes around.
namespace gbk {

// Length of the longest prefix of `text` within `maxBytes` that does not split a
// double-byte character.
std::size_t prefixLength(std::string_view text, std::size_t maxBytes);

// GBK to UTF-8; a byte sequence that is not GBK becomes U+FFFD.
std::string toUtf8(std::string_view gbkText);

// UTF-8 to GBK; a character GBK cannot hold becomes '?', as the platform converter does.
std::string fromUtf8(std::string_view utf8);

// UTF-16 code units (the wide string form of the archive) to GBK, '?' for the unmappable.
std::string fromUtf16(std::u16string_view utf16);

}  // namespace gbk
