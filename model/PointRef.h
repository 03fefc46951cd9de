#pragma once

// One point of a component: its list (`points`, or `pointsVert` of a grid) and its place.
struct PointRef {
    bool vertical = false;
    int index = 0;

    friend bool operator==(const PointRef&, const PointRef&) = default;
};
