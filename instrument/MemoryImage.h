#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "model/ComponentList.h"
#include "model/Result.h"

// The bytes a complete transfer receives: the 32-byte header area (its first two bytes give
// N), N 13-byte records, then the payload. A memory image file holds exactly these bytes.
// The instrument keeps them where InstrumentMemory says, and the transfer fetches them there.
class MemoryImage {
public:
    // No records and no payload.
    MemoryImage();

    // Refuses bytes that are shorter than the header area and records they announce, whose
    // records would reach the payload address, or that do not fit the memory.
    static Result<MemoryImage> fromBytes(std::vector<std::uint8_t> bytes);
    // The image an instrument holding these components would send (see UploadEncoder).
    static Result<MemoryImage> fromComponents(const ComponentList& components);
    static Result<MemoryImage> load(const std::filesystem::path& path);
    Status save(const std::filesystem::path& path) const;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::int32_t recordCount() const { return recordCount_; }
    std::span<const std::uint8_t> payload() const;

    // The instrument's memory: records at their address, payload at its own, zeros between.
    std::vector<std::uint8_t> memory() const;

private:
    std::vector<std::uint8_t> bytes_;
    std::int32_t recordCount_ = 0;
};
