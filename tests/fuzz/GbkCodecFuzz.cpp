// The GBK converter on arbitrary bytes: what it gives the screen is always valid UTF-8, and a
// field's prefix never reaches past the input, the field, or into a double-byte character.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "model/FixedText.h"
#include "model/GbkCodec.h"

namespace {

// Well-formed UTF-8 as Unicode defines it: shortest forms, no surrogates, at most U+10FFFF.
bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            n = 1, cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2, cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;
        for (std::size_t k = 1; k <= n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = cp << 6 | (t & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF ||
            (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += n + 1;
    }
    return true;
}

bool isLead(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isTrail(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto maxBytes = provider.ConsumeIntegralInRange<std::size_t>(0, 64);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    FUZZ_CHECK(validUtf8(gbk::toUtf8(text)));

    const std::size_t n = gbk::prefixLength(text, maxBytes);
    FUZZ_CHECK(n <= maxBytes && n <= text.size());
    // It stops only where the next character would not fit, and never inside a pair.
    std::size_t at = 0;
    while (at < n) {
        const bool pair = at + 1 < text.size() && isLead(static_cast<unsigned char>(text[at])) &&
                          isTrail(static_cast<unsigned char>(text[at + 1]));
        at += pair ? 2 : 1;
    }
    FUZZ_CHECK(at == n);
    if (n < text.size()) {
        const bool pair = n + 1 < text.size() && isLead(static_cast<unsigned char>(text[n])) &&
                          isTrail(static_cast<unsigned char>(text[n + 1]));
        FUZZ_CHECK(n + (pair ? 2 : 1) > maxBytes);
    }

    FixedText<5> field(text);
    FUZZ_CHECK(field.view().size() <= 4 && text.compare(0, field.view().size(), field.view()) == 0);

    // The other directions must only never fail or read out of bounds.
    const std::string narrow = gbk::fromUtf8(text);
    std::u16string wide(text.size() / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        wide[i] = static_cast<char16_t>(static_cast<unsigned char>(text[2 * i]) |
                                        static_cast<unsigned char>(text[2 * i + 1]) << 8);
    }
    const std::string fromWide = gbk::fromUtf16(wide);
    FUZZ_CHECK(narrow.size() <= 2 * text.size() && fromWide.size() <= 2 * wide.size());
    return 0;
}
