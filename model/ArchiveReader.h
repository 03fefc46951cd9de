#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Reads the archive encoding from a bounded byte buffer. Every read checks what is left; a
// short read fails, leaves the position where the item began and says what was missing.
class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool readInt16(std::int16_t& value);
    bool readInt32(std::int32_t& value);

    // Either string form. The narrow form's bytes are returned as they are; the wide form's
    // UTF-16 text is converted to GBK. The view stays valid until the next read.
    bool readString(std::string_view& text);

    std::size_t position() const { return pos_; }
    std::size_t remaining() const { return bytes_.size() - pos_; }

    // After a failed read: "expected N bytes at offset P, found M" in the user's language.
    const std::string& error() const { return error_; }

private:
    bool need(std::uint64_t count, std::size_t at);
    bool readLength(std::size_t& at, std::uint64_t& length, bool& wide);
    std::uint16_t u16(std::size_t at) const;
    std::uint32_t u32(std::size_t at) const;

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_ = 0;
    std::string wideText_;
    std::string error_;
};
