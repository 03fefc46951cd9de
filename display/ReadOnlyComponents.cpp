#include "display/ReadOnlyComponents.h"

#include <iterator>

const Component* ReadOnlyComponents::component(int index) const {
    if (index < 0 || index >= static_cast<int>(list_.size())) return nullptr;
    return &*std::next(list_.begin(), index);
}
