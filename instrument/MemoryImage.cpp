#include "instrument/MemoryImage.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>

#include "instrument/InstrumentMemory.h"
#include "instrument/UploadEncoder.h"
#include "instrument/UploadRecord.h"
#include "model/FileIo.h"

namespace {

using InstrumentMemory::payloadAddress;
using InstrumentMemory::recordsAddress;

std::size_t recordsLength(std::int32_t n) {
    return UploadRecord::headerAreaSize + UploadRecord::size * static_cast<std::size_t>(n);
}

constexpr std::size_t largestImage = UploadRecord::headerAreaSize +
                                     UploadRecord::size * InstrumentMemory::maxRecords +
                                     (InstrumentMemory::size - payloadAddress);

}  // namespace

MemoryImage::MemoryImage() : bytes_(UploadRecord::headerAreaSize, 0) {}

Result<MemoryImage> MemoryImage::fromBytes(std::vector<std::uint8_t> bytes) {
    if (bytes.size() < UploadRecord::headerAreaSize) {
        return Error{"内存映像至少应有32字节的头部，实际只有" + std::to_string(bytes.size()) +
                     "字节。"};
    }
    const std::int32_t n = UploadRecord::countFromHeader(bytes[0], bytes[1]);
    const std::size_t length = recordsLength(n);
    if (recordsAddress + length > payloadAddress) {
        return Error{"内存映像有" + std::to_string(n) + "条记录，记录区将到达地址" +
                     std::to_string(recordsAddress + length) + "，超过了测量数据的起始地址" +
                     std::to_string(payloadAddress) + "。"};
    }
    if (bytes.size() < length) {
        return Error{"内存映像有" + std::to_string(n) + "条记录，应至少有" +
                     std::to_string(length) + "字节，实际只有" + std::to_string(bytes.size()) +
                     "字节。"};
    }
    if (payloadAddress + (bytes.size() - length) > InstrumentMemory::size) {
        return Error{"内存映像的测量数据有" + std::to_string(bytes.size() - length) +
                     "字节，超出仪器内存。"};
    }
    MemoryImage image;
    image.bytes_ = std::move(bytes);
    image.recordCount_ = n;
    return image;
}

Result<MemoryImage> MemoryImage::fromComponents(const ComponentList& components) {
    Result<std::vector<std::uint8_t>> bytes = UploadEncoder::encode(components);
    if (!bytes) return Error{bytes.message()};
    return fromBytes(std::move(bytes).value());
}

Result<MemoryImage> MemoryImage::load(const std::filesystem::path& path) {
    const std::string name = FileIo::displayName(path);
    // A wrongly chosen huge file is refused before it is read into memory.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > largestImage) {
        return Error{"“" + name + "”不是内存映像文件：文件有" + std::to_string(size) +
                     "字节，超出仪器内存。"};
    }
    // A pipe or device tells no size: it is read no further than an image can reach.
    Result<std::string> text = FileIo::readAll(path, {}, largestImage);
    if (!text) return Error{text.message()};
    Result<MemoryImage> image = fromBytes(std::vector<std::uint8_t>(text->begin(), text->end()));
    if (!image) return Error{"“" + name + "”不是有效的内存映像文件：" + image.message()};
    return image;
}

Status MemoryImage::save(const std::filesystem::path& path) const {
    return FileIo::writeAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()));
}

std::span<const std::uint8_t> MemoryImage::payload() const {
    return std::span(bytes_).subspan(recordsLength(recordCount_));
}

std::vector<std::uint8_t> MemoryImage::memory() const {
    const auto records = std::span(bytes_).first(recordsLength(recordCount_));
    const auto values = payload();
    std::vector<std::uint8_t> memory(payloadAddress + values.size(), 0);
    std::copy(records.begin(), records.end(), memory.begin() + recordsAddress);
    std::copy(values.begin(), values.end(), memory.begin() + payloadAddress);
    return memory;
}
