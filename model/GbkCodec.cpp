#include "model/GbkCodec.h"

#include "model/GbkCodecPlatform.h"

// The conversions themselves are in GbkCodecPosix.cpp and GbkCodecWindows.cpp.

namespace gbk {
namespace {

bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

// The whole text at once; when some sequence of it cannot be converted, one character at a
// time, so that each bad one becomes `replacement` and the text around it is kept.
// `length(rest)` is the length of the character that starts `rest`; `skip(rest)` how many
// bytes a bad one takes.
template <typename Length, typename Skip>
std::string convert(Direction direction, std::string_view in, std::string_view replacement,
                    Length length, Skip skip) {
    std::string out;
    if (platformConvert(direction, in, out)) return out;
    out.clear();
    std::string piece;
    while (!in.empty()) {
        const std::size_t n = length(in);
        if (platformConvert(direction, in.substr(0, n), piece)) {
            out += piece;
            in.remove_prefix(n);
        } else {
            out += replacement;
            in.remove_prefix(skip(in));
        }
    }
    return out;
}

bool isAscii(std::string_view in) {
    for (char c : in) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

std::size_t gbkCharacterLength(std::string_view rest) {
    return rest.size() >= 2 && isLeadByte(static_cast<unsigned char>(rest[0])) &&
                   isTrailByte(static_cast<unsigned char>(rest[1]))
               ? 2
               : 1;
}

// A broken sequence ends where its continuation bytes end, so the text after it is kept.
std::size_t utf8SequenceLength(std::string_view rest) {
    auto c = static_cast<unsigned char>(rest[0]);
    const std::size_t n = c >= 0xF8 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::size_t i = 1;
    while (i < n && i < rest.size() && (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80) ++i;
    return i;
}

// A lone surrogate or an unmappable character is one code unit.
std::size_t utf16UnitLength(std::string_view rest) {
    return rest.size() < 2 ? rest.size() : std::size_t{2};
}

}  // namespace

std::size_t prefixLength(std::string_view text, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t len = gbkCharacterLength(text.substr(i));
        if (i + len > maxBytes) break;
        i += len;
    }
    return i;
}

// ASCII is the same in all three encodings, and most texts (codes, dates, numbers) are ASCII.
std::string toUtf8(std::string_view gbkText) {
    if (isAscii(gbkText)) return std::string(gbkText);
    return convert(Direction::GbkToUtf8, gbkText, "\xEF\xBF\xBD", gbkCharacterLength,
                   [](std::string_view) { return std::size_t{1}; });
}

std::string fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    return convert(Direction::Utf8ToGbk, utf8, "?", utf8SequenceLength, utf8SequenceLength);
}

std::string fromUtf16(std::u16string_view utf16) {
    const std::string_view bytes(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2);
    return convert(Direction::Utf16ToGbk, bytes, "?", utf16UnitLength, utf16UnitLength);
}

}  // namespace gbk
