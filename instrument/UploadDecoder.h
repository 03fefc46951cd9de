#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "model/ComponentList.h"

// What decoding a transfer gives.
struct UploadDecodeResult {
    ComponentList components;  // in the order of their records
    // Records of a known type whose bytes or values lie beyond the received bytes.
    int droppedRecords = 0;
};

// Turns the bytes of a transfer (header area, records, payload) into components. Pure: it
// reads nothing outside `received`, whatever the counts and offsets in it say.
class UploadDecoder {
public:
    // One code byte as text: 0-9 digits, 10-35 letters A-Z, 36-127 nothing, and bytes 128-255
    // as the signed number they are to the instrument (-128 … -1).
    static std::string DigitText(std::uint8_t byte);

    // The four code bytes' texts joined, e.g. 17, 0, 1, 2 give "H012".
    static std::string typeText(std::span<const std::uint8_t, 4> codeBytes);

    // `recordCount` is N as the header announced it; the payload starts after N records.
    // Records whose type text starts with none of H, Z, W, P are skipped.
    static UploadDecodeResult decode(std::span<const std::uint8_t> received,
                                     std::int32_t recordCount);
};
