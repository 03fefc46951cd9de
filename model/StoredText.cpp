#include "model/StoredText.h"

#include <algorithm>

#include "model/GbkCodec.h"

namespace storedText {
namespace {

std::size_t sequenceLength(std::string_view rest) {
    const auto c = static_cast<unsigned char>(rest[0]);
    const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return std::min(n, rest.size());
}

}  // namespace

std::string unstorableCharacters(std::string_view utf8) {
    // The converter writes "?" for what it cannot hold: when it wrote no more of them than
    // the text had, every character was held.
    const std::string whole = gbk::fromUtf8(utf8);
    if (std::count(whole.begin(), whole.end(), '?') == std::count(utf8.begin(), utf8.end(), '?')) {
        return {};
    }
    std::string found;
    while (!utf8.empty()) {
        const std::string_view character = utf8.substr(0, sequenceLength(utf8));
        utf8.remove_prefix(character.size());
        if (character.size() == 1 && static_cast<unsigned char>(character[0]) < 0x80) continue;
        if (gbk::fromUtf8(character) == "?" && found.find(character) == std::string::npos) {
            found += character;
        }
    }
    return found;
}

Status checkStorable(std::string_view field, std::string_view utf8) {
    const std::string bad = unstorableCharacters(utf8);
    if (bad.empty()) return Status::success();
    return Status::failure("“" + std::string(field) + "”中的字符“" + bad +
                           "”无法保存（仅支持 GBK 字符）。");
}

bool isCut(std::string_view utf8, std::size_t capacity) {
    return gbk::fromUtf8(utf8).size() > capacity;
}

std::string cutNotice(std::string_view field, std::size_t capacity) {
    return std::string(field) + "超过 " + std::to_string(capacity) + " 字节，已截短。";
}

}  // namespace storedText
