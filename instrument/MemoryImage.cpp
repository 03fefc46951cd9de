#include "instrument/MemoryImage.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>

#include "instrument/UploadEncoder.h"
#include "instrument/UploadRecord.h"
#include "model/FileIo.h"

namespace {

std::size_t recordsEnd(std::int32_t n) {
    return UploadRecord::headerAreaSize + UploadRecord::size * static_cast<std::size_t>(n);
}

constexpr std::size_t largestImage = UploadRecord::headerAreaSize +
                                     UploadRecord::size * UploadEncoder::maxRecords +
                                     (MemoryImage::memoryLimit - MemoryImage::payloadAddress);

}  // namespace

MemoryImage::MemoryImage() : bytes_(UploadRecord::headerAreaSize, 0) {}

Status MemoryImage::fromBytes(std::vector<std::uint8_t> bytes, MemoryImage& image) {
    if (bytes.size() < UploadRecord::headerAreaSize) {
        return Status::failure("内存映像至少应有32字节的头部，实际只有" +
                               std::to_string(bytes.size()) + "字节。");
    }
    const std::int32_t n = UploadRecord::countFromHeader(bytes[0], bytes[1]);
    const std::size_t end = recordsEnd(n);
    if (end > payloadAddress) {
        return Status::failure("内存映像有" + std::to_string(n) + "条记录，记录区将到达地址" +
                               std::to_string(end) + "，超过了测量数据的起始地址" +
                               std::to_string(payloadAddress) + "。");
    }
    if (bytes.size() < end) {
        return Status::failure("内存映像有" + std::to_string(n) + "条记录，应至少有" +
                               std::to_string(end) + "字节，实际只有" +
                               std::to_string(bytes.size()) + "字节。");
    }
    if (payloadAddress + (bytes.size() - end) > memoryLimit) {
        return Status::failure("内存映像的测量数据有" + std::to_string(bytes.size() - end) +
                               "字节，超出仪器内存。");
    }
    image.bytes_ = std::move(bytes);
    image.recordCount_ = n;
    return Status::success();
}

Status MemoryImage::fromComponents(const ComponentList& components, MemoryImage& image) {
    std::vector<std::uint8_t> bytes;
    if (Status s = UploadEncoder::encode(components, bytes); !s.ok()) return s;
    return fromBytes(std::move(bytes), image);
}

Status MemoryImage::load(const std::filesystem::path& path, MemoryImage& image) {
    const std::string name = FileIo::displayName(path);
    // A wrongly chosen huge file is refused before it is read into memory.
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > largestImage) {
        return Status::failure("“" + name + "”不是内存映像文件：文件有" + std::to_string(size) +
                               "字节，超出仪器内存。");
    }
    Result<std::string> text = FileIo::readAll(path);
    if (!text.ok()) return Error{text.message()};
    std::vector<std::uint8_t> bytes(text->begin(), text->end());
    if (Status s = fromBytes(std::move(bytes), image); !s.ok()) {
        return Status::failure("“" + name + "”不是有效的内存映像文件：" + s.message());
    }
    return Status::success();
}

Status MemoryImage::save(const std::filesystem::path& path) const {
    return FileIo::writeAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes_.data()), bytes_.size()));
}

std::span<const std::uint8_t> MemoryImage::payload() const {
    return std::span(bytes_).subspan(recordsEnd(recordCount_));
}

std::vector<std::uint8_t> MemoryImage::memory() const {
    const auto records = std::span(bytes_).first(recordsEnd(recordCount_));
    const auto values = payload();
    std::vector<std::uint8_t> memory(payloadAddress + values.size(), 0);
    std::copy(records.begin(), records.end(), memory.begin());
    std::copy(values.begin(), values.end(), memory.begin() + payloadAddress);
    return memory;
}
