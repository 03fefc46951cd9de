#include "controls/WheelAccumulator.h"

int WheelAccumulator::notches(int angleDelta) {
    if ((angleDelta < 0 && remainder_ > 0) || (angleDelta > 0 && remainder_ < 0)) remainder_ = 0;
    // Wide enough that no delta a device reports can overflow it.
    const long long total = static_cast<long long>(remainder_) + angleDelta;
    const long long whole = total / notch;  // toward zero: the rest keeps the delta's sign
    remainder_ = static_cast<int>(total - whole * notch);
    return static_cast<int>(whole);
}

void WheelAccumulator::reset() {
    remainder_ = 0;
}
