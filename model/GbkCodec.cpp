#include "model/GbkCodec.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#else
#include <iconv.h>

#include <cerrno>
#endif

namespace gbk {
namespace {

bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

enum class Direction { GbkToUtf8, Utf8ToGbk, Utf16ToGbk };

#ifdef _WIN32

constexpr UINT gbkCodePage = 936;

bool isPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

// `in` in `codePage` to UTF-16; false when some sequence is not valid in it.
bool toWide(UINT codePage, std::string_view in, std::wstring& out) {
    out.clear();
    if (in.empty()) return true;
    const int size = static_cast<int>(in.size());
    const int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
    if (n <= 0) return false;
    out.resize(static_cast<std::size_t>(n));
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, out.data(), n) != n) {
        return false;
    }
    // The system gives the empty and user-defined cells of code page 936 private-use
    // characters; iconv's CP936 has no such cells, and a private character means nothing to
    // anyone else either, so both call them unconvertible.
    return codePage != gbkCodePage || std::none_of(out.begin(), out.end(), isPrivateUse);
}

// UTF-16 to GBK; what GBK cannot hold becomes its default character '?', never a look-alike.
// One '?' per character, as iconv gives: a surrogate pair is one character, and a private
// one has no GBK form (see toWide).
std::string gbkFromWide(std::wstring_view text) {
    std::wstring in;
    in.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        if (pair) ++i;
        in += pair || (c >= 0xD800 && c <= 0xDFFF) || isPrivateUse(c) ? L'?' : c;
    }
    if (in.empty()) return {};
    const int size = static_cast<int>(in.size());
    const int n = WideCharToMultiByte(gbkCodePage, WC_NO_BEST_FIT_CHARS, in.data(), size, nullptr,
                                      0, nullptr, nullptr);
    if (n <= 0) return std::string(in.size(), '?');
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(gbkCodePage, WC_NO_BEST_FIT_CHARS, in.data(), size, out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::string utf8FromWide(std::wstring_view in) {
    if (in.empty()) return {};
    const int size = static_cast<int>(in.size());
    const int n = WideCharToMultiByte(CP_UTF8, 0, in.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, in.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

// The one call into the platform's converter (code page 936 through the system's own
// tables): the whole of `in`, or false when a sequence of it cannot be converted.
bool platformConvert(Direction direction, std::string_view in, std::string& out) {
    std::wstring wide;
    switch (direction) {
        case Direction::GbkToUtf8:
            if (!toWide(gbkCodePage, in, wide)) return false;
            out = utf8FromWide(wide);
            return true;
        case Direction::Utf8ToGbk:
            if (!toWide(CP_UTF8, in, wide)) return false;
            out = gbkFromWide(wide);
            return true;
        case Direction::Utf16ToGbk:
            // An unpaired surrogate becomes '?' like any character GBK lacks.
            out = gbkFromWide(
                std::wstring_view(reinterpret_cast<const wchar_t*>(in.data()), in.size() / 2));
            return true;
    }
    return false;
}

#else

// One converter per direction and thread: opening one costs far more than a short text.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

const Converter& converter(Direction direction) {
    switch (direction) {
        case Direction::GbkToUtf8: {
            thread_local const Converter c("UTF-8", "CP936");
            return c;
        }
        case Direction::Utf8ToGbk: {
            thread_local const Converter c("CP936", "UTF-8");
            return c;
        }
        case Direction::Utf16ToGbk:
            break;
    }
    thread_local const Converter c("CP936", "UTF-16LE");
    return c;
}

// The one call into the platform's converter (iconv's CP936): the whole of `in`, or false
// when a sequence of it cannot be converted. Without a converter the bytes pass unchanged.
bool platformConvert(Direction direction, std::string_view in, std::string& out) {
    out.clear();
    const Converter& c = converter(direction);
    if (!c.ok()) {
        out = in;
        return true;
    }
    iconv_t cd = c.get();
    out.reserve(in.size() * 2);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        // EILSEQ, or EINVAL for an incomplete sequence at the end.
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
}

#endif

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
