#include "instrument/UploadRecord.h"

UploadRecord UploadRecord::parse(std::span<const std::uint8_t, size> b) {
    UploadRecord r;
    for (std::size_t i = 0; i < 4; ++i) r.codeDigits[i] = b[i];
    r.designDiameter = b[4];
    r.pointCount = b[5];
    r.designDiameterVert = b[6];
    r.pointCountVert = b[7];
    r.dateThird = b[8];
    r.dateFirst = b[9];
    r.dateSecond = b[10];
    r.offset = static_cast<std::uint16_t>(b[11] << 8 | b[12]);
    return r;
}

std::array<std::uint8_t, UploadRecord::size> UploadRecord::bytes() const {
    return {codeDigits[0],
            codeDigits[1],
            codeDigits[2],
            codeDigits[3],
            designDiameter,
            pointCount,
            designDiameterVert,
            pointCountVert,
            dateThird,
            dateFirst,
            dateSecond,
            static_cast<std::uint8_t>(offset >> 8),
            static_cast<std::uint8_t>(offset & 0xFF)};
}

std::size_t UploadRecord::valuesLength(const DetectionTypeTraits* type, std::size_t n,
                                       std::size_t m) {
    if (!type) return 0;
    return type->payloadBytes * (n + (type->verticalList ? m : 0));
}

std::int32_t UploadRecord::payloadEnd() const {
    const DetectionTypeTraits* type = traitsOfRecordDigit(codeDigits[0]);
    if (!type) return 0;
    return static_cast<std::int32_t>(offset + valuesLength(type, pointCount, pointCountVert));
}
