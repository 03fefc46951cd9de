#pragma once

#include <cstdint>

// One measuring point (测点). All values in whole millimetres.
struct MeasurePoint {
    std::int16_t diameter = 0;   // measured bar diameter (diameter components only)
    std::int16_t thickness = 0;  // measured concrete cover
    std::int32_t position = 0;   // where the bar lies along the scan (grid and profile)

    friend bool operator==(const MeasurePoint&, const MeasurePoint&) = default;
};
