#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "instrument/UsbLink.h"
#include "model/ComponentList.h"
#include "model/Status.h"

// The bytes a complete transfer receives: the 32-byte header area (its first two bytes give
// N), N 13-byte records, then the payload. A memory image file holds exactly these bytes.
// The instrument keeps the header area and records at memory address 0 and the payload at
// payloadAddress, where the transfer fetches it.
class MemoryImage {
public:
    static constexpr std::size_t payloadAddress = 171 * UsbLink::blockSize + 56;  // 11000
    // A block request carries a two-byte block number.
    static constexpr std::size_t memoryLimit = 65536 * UsbLink::blockSize;

    // No records and no payload.
    MemoryImage();

    // Refuses bytes that are shorter than the header area and records they announce, whose
    // records would reach the payload address, or that do not fit the memory.
    static Status fromBytes(std::vector<std::uint8_t> bytes, MemoryImage& image);
    // The image an instrument holding these components would send (see UploadEncoder).
    static Status fromComponents(const ComponentList& components, MemoryImage& image);
    static Status load(const std::filesystem::path& path, MemoryImage& image);
    Status save(const std::filesystem::path& path) const;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::int32_t recordCount() const { return recordCount_; }
    std::span<const std::uint8_t> payload() const;

    // The instrument's memory: records at 0, payload at payloadAddress, zeros between.
    std::vector<std::uint8_t> memory() const;

private:
    std::vector<std::uint8_t> bytes_;
    std::int32_t recordCount_ = 0;
};
