#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "instrument/MemoryImage.h"
#include "instrument/UploadRecord.h"
#include "model/ComponentList.h"

namespace samples {

using Pairs = std::vector<std::pair<int, int>>;

// A component as the decoder makes it: the design values and tolerances it fills in.
inline Component uploaded(const std::string& code, const std::string& date = "25/3/12",
                          int designDiameter = 12) {
    Component c;
    c.code = code;
    c.name = code;
    c.date = date;
    const char type = code.front();
    c.designDiameter = static_cast<std::int16_t>(designDiameter);
    c.designCover = 50;
    c.designSpacing = type == 'W' || type == 'P' ? 100 : 0;
    if (type == 'W') {
        c.designCoverVert = 50;
        c.designSpacingVert = 100;
    }
    c.diameterTolerance = c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    return c;
}

// Points from (thickness, second) pairs; the second value is the diameter for 'Z', the
// position for 'W' and 'P', and unused for 'H'.
inline void addPoints(Component& c, const Pairs& values, bool vertical = false) {
    for (auto [thickness, second] : values) {
        c.addPoint(vertical);
        MeasurePoint& p = vertical ? c.pointsVert.back() : c.points.back();
        p.thickness = static_cast<std::int16_t>(thickness);
        if (c.code.front() == 'Z') p.diameter = static_cast<std::int16_t>(second);
        if (c.code.front() == 'W' || c.code.front() == 'P') p.position = second;
    }
}

inline Component withPoints(const std::string& code, const Pairs& values,
                            const Pairs& vertical = {}) {
    Component c = uploaded(code);
    addPoints(c, values);
    addPoints(c, vertical, true);
    return c;
}

inline MemoryImage imageOf(const ComponentList& components) {
    Result<MemoryImage> image = MemoryImage::fromComponents(components);
    EXPECT_TRUE(image.ok()) << image.message();
    return image ? std::move(image).value() : MemoryImage();
}

// A raw record stream: header area announcing `n`, the records, then the payload.
inline std::vector<std::uint8_t> stream(std::uint8_t header0, std::uint8_t header1,
                                        const std::vector<UploadRecord>& records,
                                        const std::vector<std::uint8_t>& payload) {
    std::vector<std::uint8_t> bytes(UploadRecord::headerAreaSize, 0);
    bytes[0] = header0;
    bytes[1] = header1;
    for (const UploadRecord& r : records) {
        const auto b = r.bytes();
        bytes.insert(bytes.end(), b.begin(), b.end());
    }
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

inline UploadRecord record(std::array<std::uint8_t, 4> code, std::uint8_t n, std::uint16_t offset,
                           std::uint8_t m = 0) {
    UploadRecord r;
    r.codeDigits = code;
    r.pointCount = n;
    r.pointCountVert = m;
    r.offset = offset;
    r.dateFirst = 25;
    r.dateSecond = 3;
    r.dateThird = 12;
    return r;
}

inline std::vector<std::string> codes(const ComponentList& list) {
    std::vector<std::string> out;
    for (const Component& c : list) out.push_back(c.code.str());
    return out;
}

}  // namespace samples
