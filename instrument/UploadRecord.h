#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "model/DetectionType.h"

// One 13-byte record of the instrument's record stream, which follows a 32-byte header area.
// Record values lie in the payload, from the record's offset on.
struct UploadRecord {
    static constexpr std::size_t size = 13;
    static constexpr std::size_t headerAreaSize = 32;

    std::array<std::uint8_t, 4> codeDigits{};
    std::uint8_t designDiameter = 0;      // grid: horizontal bars
    std::uint8_t pointCount = 0;          // n; grid: horizontal points
    std::uint8_t designDiameterVert = 0;  // grid only
    std::uint8_t pointCountVert = 0;      // m; grid only
    std::uint8_t dateThird = 0;           // byte 8
    std::uint8_t dateFirst = 0;           // byte 9
    std::uint8_t dateSecond = 0;          // byte 10
    std::uint16_t offset = 0;             // bytes 11 (high) and 12: start of the values

    static UploadRecord parse(std::span<const std::uint8_t, size> bytes);
    std::array<std::uint8_t, size> bytes() const;

    // Bytes of values a record of that type has in the payload: n points, and m vertical
    // ones for a type that has them; 0 without a type.
    static std::size_t valuesLength(const DetectionTypeTraits* type, std::size_t n, std::size_t m);

    // Where the payload ends when this is the last record; the type comes from the first
    // code byte, and an unknown type gives 0.
    std::int32_t payloadEnd() const;

    // Number of records (N) the header area's first two bytes announce.
    static std::int32_t countFromHeader(std::uint8_t byte0, std::uint8_t byte1) {
        return byte0 * 255 + byte1;  // the instrument counts in 255s, not 256s
    }
};
