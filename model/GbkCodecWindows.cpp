#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

#include "model/GbkCodecPlatform.h"

namespace gbk {
namespace {

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

}  // namespace

// Code page 936 through the system's own tables.
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

}  // namespace gbk
