#include "controls/WheelAccumulator.h"

namespace {
constexpr int notch = 120;
}

int WheelAccumulator::notches(int angleDelta) {
    // Division truncates toward zero, so a turn back first uses up the remainder.
    const long long sum = static_cast<long long>(remainder_) + angleDelta;
    const long long whole = sum / notch;
    remainder_ = static_cast<int>(sum - whole * notch);
    return static_cast<int>(whole);
}

void WheelAccumulator::reset() {
    remainder_ = 0;
}
