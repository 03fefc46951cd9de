#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Appends the archive encoding to a byte buffer: little-endian integers and length-prefixed
// strings, no padding.
class ArchiveWriter {
public:
    explicit ArchiveWriter(std::string& out) : out_(out) {}

    void writeInt16(std::int16_t value);
    void writeInt32(std::int32_t value);

    // The narrow string form: a 1-, 3- or 7-byte length prefix, then the bytes as they are.
    void writeString(std::string_view bytes);

private:
    void writeUInt16(std::uint16_t value);
    void writeUInt32(std::uint32_t value);

    std::string& out_;
};
