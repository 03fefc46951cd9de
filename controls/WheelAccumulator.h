#pragma once

// Adds up wheel deltas so that fine-grained wheels and touchpads, which send fractions of a
// notch, scroll as far in total as a classic wheel: eight events of 15 make one notch of 120.
class WheelAccumulator {
public:
    // angleDelta in eighths of a degree, 120 = one notch; returns the whole notches (signed,
    // positive = away from the user) completed by this event and keeps the remainder.
    int notches(int angleDelta);
    void reset();

private:
    int remainder_ = 0;
};
