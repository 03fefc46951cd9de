#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/Result.h"

// What becomes of a text the user typed (UTF-8) when it is stored in a GBK field. A
// character GBK cannot hold would turn into "?" without a word, so such texts are refused.
namespace storedText {

// The characters of `utf8` that GBK cannot hold, each once, in the order they first occur.
std::string unstorableCharacters(std::string_view utf8);

// Fails with "“FIELD”中的字符“…”无法保存（仅支持 GBK 字符）。" when `utf8` holds a character
// GBK cannot hold.
Status checkStorable(std::string_view field, std::string_view utf8);

// Whether `utf8`, stored in a field of `capacity` bytes, is cut.
bool isCut(std::string_view utf8, std::size_t capacity);

// "FIELD超过 N 字节，已截短。"
std::string cutNotice(std::string_view field, std::size_t capacity);

}  // namespace storedText
