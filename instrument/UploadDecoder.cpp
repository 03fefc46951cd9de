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

Component componentOf(const UploadRecord& r, const std::string& typeText) {
    Component c;
    c.code = std::string_view(typeText).substr(0, 4);
    c.name = typeText;
    char date[16];
    std::snprintf(date, sizeof date, "%u/%u/%u", unsigned{r.dateFirst}, unsigned{r.dateSecond},
                  unsigned{r.dateThird});
    c.date = date;

    const char type = typeText.front();
    const bool grid = type == 'W';
    c.designDiameter = r.designDiameter;
    c.designDiameterVert = grid ? r.designDiameterVert : 0;
    c.designCover = 50;
    c.designCoverVert = grid ? 50 : 0;
    c.designSpacing = grid || type == 'P' ? 100 : 0;
    c.designSpacingVert = grid ? 100 : 0;
    c.diameterTolerance = 1;
    c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    c.pointCount = r.pointCount;
    c.pointCountVert = grid ? r.pointCountVert : 0;
    return c;
}

// Fills the point lists from `v`, the record's values, already checked to be long enough.
void addPoints(Component& c, char type, std::size_t n, std::size_t m,
               std::span<const std::uint8_t> v) {
    auto position = [&](std::size_t i) { return std::int32_t{v[i]} << 8 | v[i + 1]; };
    c.points.reserve(n);
    for (std::size_t j = 0; j < n; ++j) {
        MeasurePoint p;
        switch (type) {
            case 'H':
                p.thickness = v[j];
                break;
            case 'Z':
                p.thickness = v[2 * j];
                p.diameter = v[2 * j + 1];
                break;
            case 'P':
                p.thickness = v[j];
                p.position = position(n + 2 * j);
                break;
            case 'W':
                p.thickness = v[j];
                p.position = position(n + m + 2 * j);
                break;
        }
        c.points.push_back(p);
    }
    if (type != 'W') return;
    c.pointsVert.reserve(m);
    for (std::size_t i = 0; i < m; ++i) {
        MeasurePoint p;
        p.thickness = v[n + i];
        p.position = position(3 * n + m + 2 * i);
        c.pointsVert.push_back(p);
    }
}

bool isKnownType(char letter) {
    return letter == 'H' || letter == 'Z' || letter == 'W' || letter == 'P';
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
        if (text.empty() || !isKnownType(text.front())) continue;

        const char type = text.front();
        const std::size_t m = type == 'W' ? r.pointCountVert : 0;
        const std::size_t start = base + r.offset;
        const std::size_t length = UploadRecord::valuesLength(type, r.pointCount, m);
        if (start > received.size() || length > received.size() - start) {
            ++result.droppedRecords;
            continue;
        }
        Component c = componentOf(r, text);
        addPoints(c, type, r.pointCount, m, received.subspan(start, length));
        result.components.push_back(std::move(c));
    }
    return result;
}
