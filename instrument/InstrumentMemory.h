#pragma once

#include <cstddef>
#include <cstdint>

#include "instrument/UploadRecord.h"

// Where the instrument keeps what a transfer fetches. Its memory is read in blocks: the
// header area and the records from address 0, the payload from payloadAddress, which lies
// inside a block, so the first payload block's leading bytes are not payload.
namespace InstrumentMemory {

inline constexpr std::size_t blockSize = 64;
inline constexpr std::size_t recordsAddress = 0;
inline constexpr std::size_t payloadAddress = 11000;
// A block request carries a two-byte block number.
inline constexpr std::size_t size = 65536 * blockSize;

inline constexpr std::uint32_t firstPayloadBlock = payloadAddress / blockSize;  // 171
inline constexpr std::size_t firstPayloadByte = payloadAddress % blockSize;     // 56

// Records must end before the payload begins.
inline constexpr std::size_t maxRecords =
    (payloadAddress - recordsAddress - UploadRecord::headerAreaSize) / UploadRecord::size;

static_assert(firstPayloadBlock == 171 && firstPayloadByte == 56 && maxRecords == 843);

}  // namespace InstrumentMemory
