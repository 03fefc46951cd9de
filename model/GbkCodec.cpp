#include "model/GbkCodec.h"

#include <iconv.h>

#include <cerrno>

namespace gbk {
namespace {

bool isLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}
bool isTrailByte(unsigned char c) {
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

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

bool isAscii(std::string_view in) {
    for (char c : in) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

// Runs iconv over `in`; where a sequence cannot be converted, appends `replacement` and skips
// `skip(rest)` input bytes, so a bad byte never loses the text around it.
template <typename Skip>
std::string convert(const Converter& converter, std::string_view in, std::string_view replacement,
                    Skip skip) {
    if (!converter.ok()) return std::string(in);
    iconv_t cd = converter.get();
    std::string out;
    out.reserve(in.size() * 2);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL (an incomplete sequence at the end).
            out.append(replacement);
            std::size_t n = skip(std::string_view(inPtr, inLeft));
            inPtr += n;
            inLeft -= n;
        }
    }
    return out;
}

std::size_t utf8SequenceLength(std::string_view rest) {
    auto c = static_cast<unsigned char>(rest[0]);
    std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return n <= rest.size() ? n : rest.size();
}

}  // namespace

std::size_t prefixLength(std::string_view text, std::size_t maxBytes) {
    std::size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = 1;
        if (isLeadByte(c) && i + 1 < text.size() &&
            isTrailByte(static_cast<unsigned char>(text[i + 1]))) {
            len = 2;
        }
        if (i + len > maxBytes) break;
        i += len;
    }
    return i;
}

// ASCII is the same in all three encodings, and most texts (codes, dates, numbers) are ASCII.
std::string toUtf8(std::string_view gbkText) {
    if (isAscii(gbkText)) return std::string(gbkText);
    thread_local const Converter converter("UTF-8", "CP936");
    return convert(converter, gbkText, "\xEF\xBF\xBD",
                   [](std::string_view) { return std::size_t{1}; });
}

std::string fromUtf8(std::string_view utf8) {
    if (isAscii(utf8)) return std::string(utf8);
    thread_local const Converter converter("CP936", "UTF-8");
    return convert(converter, utf8, "?", utf8SequenceLength);
}

std::string fromUtf16(std::u16string_view utf16) {
    std::string_view bytes(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2);
    // A lone surrogate or an unmappable character is one code unit to skip.
    thread_local const Converter converter("CP936", "UTF-16LE");
    return convert(converter, bytes, "?", [](std::string_view rest) {
        return rest.size() < 2 ? rest.size() : std::size_t{2};
    });
}

}  // namespace gbk
