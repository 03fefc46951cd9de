#pragma once

// Adds up wheel rotation that arrives in pieces (touchpads, smooth wheels) until whole notches
// are complete. Pure; one per scrolling widget.
class WheelAccumulator {
public:
    // `angleDelta` in eighths of a degree, 120 = one notch. Returns the whole notches (signed,
    // positive = away from the user) completed by this event and keeps the remainder. Turning
    // the other way first drops what was left of the old direction, so a reversal answers at
    // once.
    int notches(int angleDelta);
    // Forgets the remainder (a new gesture, a new list).
    void reset();

private:
    static constexpr int notch = 120;
    int remainder_ = 0;
};
