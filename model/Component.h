#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/DetectionType.h"
#include "model/FixedText.h"
#include "model/MeasurePoint.h"

// One scanned structural member (构件). Plain record: the readers store the counts exactly as
// the file gives them; addPoint/removePoint keep each count in step with its list.
struct Component {
    FixedText<5> code;   // 构件编号; first letter is the detection type
    FixedText<50> name;  // 构件名称
    FixedText<20> date;  // 日期, "d/d/d"
    std::int16_t designDiameter = 0;
    std::int16_t designDiameterVert = 0;
    std::int16_t designCover = 0;
    std::int16_t designCoverVert = 0;
    std::int16_t designSpacing = 0;
    std::int16_t designSpacingVert = 0;
    std::int16_t diameterTolerance = 0;
    std::int16_t thicknessTolerance = 0;
    std::int16_t spacingTolerance = 0;
    std::int16_t pointCount = 0;
    std::int16_t pointCountVert = 0;
    std::vector<MeasurePoint> points;      // grid: horizontal direction
    std::vector<MeasurePoint> pointsVert;  // grid only: vertical direction

    DetectionType type() const { return detectionTypeOf(code.front()); }
    // The row of its type, null for a code that begins with no type letter.
    const DetectionTypeTraits* traits() const { return traitsOf(code.front()); }
    // Whether its type keeps a second, vertical point list.
    bool hasVerticalList() const { return traits() && traits()->verticalList; }

    // Appends a zero point to `points` (or `pointsVert`) and counts it. Refused (false) when
    // the count is already at the largest value its int16 field holds.
    bool addPoint(bool vertical = false);

    // Removes the point at `index` of its list and uncounts it; false when there is none.
    bool removePoint(std::size_t index, bool vertical = false);

    // Puts `point` back at `index` of its list (at most its end) and counts it; refused like
    // addPoint.
    bool insertPoint(std::size_t index, const MeasurePoint& point, bool vertical = false);

    friend bool operator==(const Component&, const Component&) = default;
};
