#include "model/ComponentList.h"

#include <algorithm>

ComponentList::iterator insertComponent(ComponentList& list, Component component) {
    // At the end of its type's group: before the first component of a later group. The last
    // group and codes without a type letter always go to the very end.
    const auto groupOf = [](const Component& c) {
        const DetectionTypeTraits* t = c.traits();
        return t ? t - detectionTypes().data() : std::ptrdiff_t(detectionTypes().size());
    };
    const std::ptrdiff_t group = groupOf(component);
    auto at = list.end();
    if (group + 1 < static_cast<std::ptrdiff_t>(detectionTypes().size())) {
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (groupOf(*it) > group) {
                at = it;
                break;
            }
        }
    }
    return list.insert(at, std::move(component));
}

bool anyTicked(const std::vector<bool>& ticked) {
    return std::find(ticked.begin(), ticked.end(), true) != ticked.end();
}
