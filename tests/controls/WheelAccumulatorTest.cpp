#include <gtest/gtest.h>

#include <climits>

#include "controls/WheelAccumulator.h"

TEST(WheelAccumulator, PartialDeltasAddUpToWholeNotches) {
    const struct {
        std::vector<int> deltas;
        std::vector<int> notches;  // returned for each delta
    } cases[] = {
        {{15, 15, 15, 15, 15, 15, 15, 15}, {0, 0, 0, 0, 0, 0, 0, 1}},  // as one event of 120
        {{-15, -15, -15, -15, -15, -15, -15, -15}, {0, 0, 0, 0, 0, 0, 0, -1}},
        {{120, -120, 360}, {1, -1, 3}},
        {{100, 100, 40, 40}, {0, 1, 1, 0}},  // the rest carries over
        {{-100, -100, -40}, {0, -1, -1}},
        {{60, 0, 60}, {0, 0, 1}},  // a vertical-less event keeps the rest
        {{-60, 0, -60}, {0, 0, -1}},
        {{90, -120, -30, 30, 119}, {0, -1, 0, 0, 1}},  // turning back drops the old rest
        {{121, -120}, {1, -1}},
        {{-60, 1, 119}, {0, 0, 1}},
        {{INT_MAX, 113, INT_MIN}, {17895697, 1, -17895697}},
    };
    for (const auto& [deltas, expected] : cases) {
        WheelAccumulator wheel;
        std::vector<int> got;
        for (int d : deltas) got.push_back(wheel.notches(d));
        EXPECT_EQ(got, expected) << testing::PrintToString(deltas);
    }
    WheelAccumulator wheel;
    EXPECT_EQ(wheel.notches(90), 0);
    wheel.reset();
    EXPECT_EQ(wheel.notches(119), 0);
    EXPECT_EQ(wheel.notches(1), 1);
}
