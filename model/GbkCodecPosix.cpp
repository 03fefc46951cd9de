#include <iconv.h>

#include <cerrno>

#include "model/GbkCodecPlatform.h"

namespace gbk {
namespace {

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

}  // namespace

// iconv's CP936. Without a converter the bytes pass unchanged.
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

}  // namespace gbk
