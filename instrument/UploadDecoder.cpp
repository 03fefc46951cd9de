#include "instrument/UploadDecoder.h"

#include <cstdio>

#include "instrument/UploadRecord.h"

std::string UploadDecoder::DigitText(std::uint8_t byte) {
    const auto s = static_cast<std::int8_t>(byte);
    if (s < 0) return std::to_string(s);
    if (s <= 9) return std::string(1, static_cast<char>('0' + s));
    if (s <= 35) return std::string(1, static_cast<char>('A' + (s - 10)));
    return {};
}

std::string UploadDecoder::typeText(std::span<const std::uint8_t, 4> codeBytes) {
    std::string text;
    for (std::uint8_t b : codeBytes) text += DigitText(b);
    return text;
}

namespace {

Component componentOf(const UploadRecord& r, const std::string& typeText,
                      const DetectionTypeTraits& type) {
    Component c;
    c.code = std::string_view(typeText).substr(0, 4);
    c.name = typeText;
    char date[16];
    std::snprintf(date, sizeof date, "%u/%u/%u", unsigned{r.dateFirst}, unsigned{r.dateSecond},
                  unsigned{r.dateThird});
    c.date = date;

    const bool grid = type.verticalList;
    c.designDiameter = r.designDiameter;
    c.designDiameterVert = grid ? r.designDiameterVert : 0;
    c.designCover = 50;
    c.designCoverVert = grid ? 50 : 0;
    c.designSpacing = type.positions ? 100 : 0;
    c.designSpacingVert = grid ? 100 : 0;
    c.diameterTolerance = 1;
    c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    c.pointCount = r.pointCount;
    c.pointCountVert = grid ? r.pointCountVert : 0;
    return c;
}

// Fills the point lists from `v`, the record's values, already checked to be long enough.
// The values of a record: a diameter type's points as thickness and diameter byte pairs;
// otherwise every thickness (the n points, then the m vertical ones), followed, for a type
// with positions, by the two-byte positions in the same order.
void addPoints(Component& c, const DetectionTypeTraits& type, std::size_t n, std::size_t m,
               std::span<const std::uint8_t> v) {
    auto position = [&](std::size_t i) { return std::int32_t{v[i]} << 8 | v[i + 1]; };
    const std::size_t thicknesses = n + m;
    c.points.reserve(n);
    for (std::size_t j = 0; j < n; ++j) {
        MeasurePoint p;
        if (type.diameters) {
            p.thickness = v[2 * j];
            p.diameter = v[2 * j + 1];
        } else {
            p.thickness = v[j];
        }
        if (type.positions) p.position = position(thicknesses + 2 * j);
        c.points.push_back(p);
    }
    c.pointsVert.reserve(m);
    for (std::size_t i = 0; i < m; ++i) {
        MeasurePoint p;
        p.thickness = v[n + i];
        p.position = position(thicknesses + 2 * n + 2 * i);
        c.pointsVert.push_back(p);
    }
}

}  // namespace

UploadDecodeResult UploadDecoder::decode(std::span<const std::uint8_t> received,
                                         std::int32_t recordCount) {
    UploadDecodeResult result;
    if (recordCount <= 0) return result;
    const auto n = static_cast<std::size_t>(recordCount);
    const std::size_t base = UploadRecord::headerAreaSize + UploadRecord::size * n;

    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t at = UploadRecord::headerAreaSize + UploadRecord::size * k;
        if (at + UploadRecord::size > received.size()) {
            // Every later record lies further out.
            result.droppedRecords += static_cast<int>(n - k);
            break;
        }
        const UploadRecord r =
            UploadRecord::parse(received.subspan(at).first<UploadRecord::size>());
        const std::string text = typeText(r.codeDigits);
        const DetectionTypeTraits* type = text.empty() ? nullptr : traitsOf(text.front());
        if (!type) continue;

        const std::size_t m = type->verticalList ? r.pointCountVert : 0;
        const std::size_t start = base + r.offset;
        const std::size_t length = UploadRecord::valuesLength(type, r.pointCount, m);
        if (start > received.size() || length > received.size() - start) {
            ++result.droppedRecords;
            continue;
        }
        Component c = componentOf(r, text, *type);
        addPoints(c, *type, r.pointCount, m, received.subspan(start, length));
        result.components.push_back(std::move(c));
    }
    return result;
}
