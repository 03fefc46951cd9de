#pragma once

#include <string>
#include <string_view>

// A UTF-8 text as a JSON string literal, quotes included.
std::string jsonString(std::string_view utf8);
