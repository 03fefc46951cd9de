#include "model/ArchiveWriter.h"

void ArchiveWriter::writeUInt16(std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    out_.append(bytes, 2);
}

void ArchiveWriter::writeUInt32(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
    out_.append(bytes, 4);
}

void ArchiveWriter::writeInt16(std::int16_t value) {
    writeUInt16(static_cast<std::uint16_t>(value));
}

void ArchiveWriter::writeInt32(std::int32_t value) {
    writeUInt32(static_cast<std::uint32_t>(value));
}

void ArchiveWriter::writeString(std::string_view bytes) {
    const std::size_t n = bytes.size();
    if (n < 0xFF) {
        out_.push_back(static_cast<char>(n));
    } else if (n < 0xFFFE) {
        out_.push_back('\xFF');
        writeUInt16(static_cast<std::uint16_t>(n));
    } else {
        out_.push_back('\xFF');
        writeUInt16(0xFFFF);
        writeUInt32(static_cast<std::uint32_t>(n));
    }
    out_.append(bytes);
}
