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

std::size_t UploadRecord::valuesLength(char typeLetter, std::size_t n, std::size_t m) {
    switch (typeLetter) {
        case 'H':
            return n;
        case 'Z':
            return 2 * n;
        case 'P':
            return 3 * n;
        case 'W':
            return 3 * (n + m);
        default:
            return 0;
    }
}

std::int32_t UploadRecord::payloadEnd() const {
    char letter = '\0';
    switch (codeDigits[0]) {
        case thicknessDigit:
            letter = 'H';
            break;
        case diameterDigit:
            letter = 'Z';
            break;
        case profileDigit:
            letter = 'P';
            break;
        case gridDigit:
            letter = 'W';
            break;
        default:
            return 0;
    }
    return static_cast<std::int32_t>(offset + valuesLength(letter, pointCount, pointCountVert));
}
