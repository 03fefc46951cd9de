#include "model/ArchiveReader.h"

#include "model/GbkCodec.h"

bool ArchiveReader::need(std::uint64_t count, std::size_t at) {
    if (at <= bytes_.size() && bytes_.size() - at >= count) return true;
    const std::size_t left = at <= bytes_.size() ? bytes_.size() - at : 0;
    error_ = "文件不完整：在第 " + std::to_string(at) + " 字节处需要 " + std::to_string(count) +
             " 字节数据，只剩 " + std::to_string(left) + " 字节。";
    return false;
}

std::uint16_t ArchiveReader::u16(std::size_t at) const {
    return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
}

std::uint32_t ArchiveReader::u32(std::size_t at) const {
    return static_cast<std::uint32_t>(bytes_[at]) |
           (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
}

bool ArchiveReader::readInt16(std::int16_t& value) {
    if (!need(2, pos_)) return false;
    value = static_cast<std::int16_t>(u16(pos_));
    pos_ += 2;
    return true;
}

bool ArchiveReader::readInt32(std::int32_t& value) {
    if (!need(4, pos_)) return false;
    value = static_cast<std::int32_t>(u32(pos_));
    pos_ += 4;
    return true;
}

// One length prefix: a byte below 0xFF; or 0xFF and a 16-bit length below 0xFFFF; or 0xFF,
// 0xFFFF and a 32-bit length. 0xFF 0xFFFE marks the wide form, whose own prefix follows.
bool ArchiveReader::readLength(std::size_t& at, std::uint64_t& length, bool& wide) {
    if (!need(1, at)) return false;
    length = bytes_[at++];
    if (length < 0xFF) return true;
    if (!need(2, at)) return false;
    length = u16(at);
    at += 2;
    if (length == 0xFFFE && !wide) {
        wide = true;
        return readLength(at, length, wide);
    }
    if (length < 0xFFFF) return true;
    if (!need(4, at)) return false;
    length = u32(at);
    at += 4;
    return true;
}

bool ArchiveReader::readString(std::string_view& text) {
    std::size_t at = pos_;
    std::uint64_t length = 0;
    bool wide = false;
    if (!readLength(at, length, wide)) return false;
    const std::uint64_t byteCount = wide ? length * 2 : length;
    // Checked against what is left before anything is taken, so a huge length costs nothing.
    if (!need(byteCount, at)) return false;
    const auto* data = reinterpret_cast<const char*>(bytes_.data() + at);
    if (wide) {
        std::u16string units(static_cast<std::size_t>(length), u'\0');
        for (std::size_t i = 0; i < units.size(); ++i) {
            units[i] = static_cast<char16_t>(u16(at + 2 * i));
        }
        wideText_ = gbk::fromUtf16(units);
        text = wideText_;
    } else {
        text = std::string_view(data, static_cast<std::size_t>(byteCount));
    }
    pos_ = at + static_cast<std::size_t>(byteCount);
    return true;
}
