#pragma once

#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "model/GbkCodec.h"

// A NUL-terminated GBK text in a fixed-width field of N bytes, as stored in the records.
// A longer text is cut at a character boundary so the field always keeps its terminator.
template <std::size_t N>
class FixedText {
public:
    static_assert(N >= 1);
    static constexpr std::size_t capacity = N - 1;

    FixedText() = default;
    explicit FixedText(std::string_view gbkText) { assign(gbkText); }

    void assign(std::string_view gbkText) {
        std::size_t n = gbk::prefixLength(gbkText, capacity);
        std::memcpy(data_.data(), gbkText.data(), n);
        std::memset(data_.data() + n, 0, N - n);
    }
    FixedText& operator=(std::string_view gbkText) {
        assign(gbkText);
        return *this;
    }

    // The text up to the field's NUL.
    std::string_view view() const {
        return std::string_view(data_.data(), ::strnlen(data_.data(), N));
    }
    std::string str() const { return std::string(view()); }
    const char* c_str() const { return data_.data(); }
    bool empty() const { return data_[0] == '\0'; }
    char front() const { return data_[0]; }

    friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }

private:
    std::array<char, N> data_{};
};
