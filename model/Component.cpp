#include "model/Component.h"

#include <algorithm>
#include <limits>

bool Component::addPoint(bool vertical) {
    return insertPoint((vertical ? pointsVert : points).size(), MeasurePoint{}, vertical);
}

bool Component::insertPoint(std::size_t index, const MeasurePoint& point, bool vertical) {
    auto& list = vertical ? pointsVert : points;
    auto& count = vertical ? pointCountVert : pointCount;
    if (count == std::numeric_limits<std::int16_t>::max()) return false;
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(index, list.size())), point);
    ++count;
    return true;
}

bool Component::removePoint(std::size_t index, bool vertical) {
    auto& list = vertical ? pointsVert : points;
    auto& count = vertical ? pointCountVert : pointCount;
    if (index >= list.size()) return false;
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    --count;
    return true;
}
