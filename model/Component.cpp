#include "model/Component.h"

#include <limits>

bool Component::addPoint(bool vertical) {
    auto& list = vertical ? pointsVert : points;
    auto& count = vertical ? pointCountVert : pointCount;
    if (count == std::numeric_limits<std::int16_t>::max()) return false;
    list.push_back(MeasurePoint{});
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
