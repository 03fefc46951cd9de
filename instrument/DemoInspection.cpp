#include "instrument/DemoInspection.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

// Scatter of a measurement around its nominal value. Two entries in sixteen lie outside the
// default tolerances (±1 mm cover and diameter, ±3 mm spacing), so the demo shows failures.
constexpr std::array<int, 16> coverScatter{0, 1, -1, 0, 1, 0, -1, 0, 3, 0, 1, -1, 0, 0, -4, 1};
constexpr std::array<int, 16> diameterScatter{0, 0, 1, 0, -2, 0, 0, 0, 0, 0, -1, 0, 0, 2, 0, 0};
constexpr std::array<int, 16> spacingScatter{0, 2, -1, 1, -2, 0, 1, -3, 6, 0, -1, 2, 0, -2, -7, 1};

struct Scan {
    const char* code;
    const char* date;
    int designDiameter;
    int nominalCover;
    int points;
    int firstBar = 0;  // mm; grid and profile
    int spacing = 0;   // mm; grid and profile
};

std::int16_t i16(int value) {
    return static_cast<std::int16_t>(value);
}

int scatter(const std::array<int, 16>& table, int index) {
    return table[static_cast<std::size_t>(index) % table.size()];
}

Component component(const Scan& s, int seed) {
    Component c;
    c.code = s.code;
    c.name = s.code;
    c.date = s.date;
    c.designDiameter = i16(s.designDiameter);
    c.designCover = 50;
    c.diameterTolerance = 1;
    c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    c.pointCount = i16(s.points);
    int position = s.firstBar;
    for (int j = 0; j < s.points; ++j) {
        MeasurePoint p;
        p.thickness = i16(s.nominalCover + scatter(coverScatter, seed + j));
        if (const DetectionTypeTraits* t = traitsOf(s.code[0]); t && t->diameters)
            p.diameter = i16(s.designDiameter + scatter(diameterScatter, seed + j));
        // The record tables show the spacing as the difference of neighbouring positions.
        if (s.spacing > 0 && j > 0) position += s.spacing + scatter(spacingScatter, seed + j);
        if (s.spacing > 0) p.position = position;
        c.points.push_back(p);
    }
    if (s.spacing > 0) c.designSpacing = 100;
    return c;
}

Component grid(const Scan& s, int designDiameterVert, int pointsVert, int seed) {
    Component c = component(s, seed);
    c.designDiameterVert = i16(designDiameterVert);
    c.designCoverVert = 50;
    c.designSpacingVert = 100;
    c.pointCountVert = i16(pointsVert);
    // The vertical bars lie behind the horizontal ones.
    int position = s.firstBar + 30;
    for (int i = 0; i < pointsVert; ++i) {
        MeasurePoint p;
        p.thickness = i16(s.nominalCover + 5 + scatter(coverScatter, seed + 5 + i));
        if (i > 0) position += s.spacing + scatter(spacingScatter, seed + 3 + i);
        p.position = position;
        c.pointsVert.push_back(p);
    }
    return c;
}

}  // namespace

ComponentList DemoInspection::components() {
    ComponentList list;
    list.push_back(component({"H001", "25/3/12", 12, 50, 12}, 0));
    list.push_back(component({"H002", "25/3/12", 10, 20, 10}, 3));
    list.push_back(component({"H003", "25/3/13", 16, 35, 16}, 5));
    list.push_back(component({"Z001", "25/3/13", 16, 50, 8}, 1));
    list.push_back(component({"Z002", "25/3/14", 20, 40, 10}, 7));
    list.push_back(component({"Z003", "25/3/14", 25, 55, 9}, 11));
    list.push_back(grid({"W001", "25/3/15", 12, 50, 12, 60, 100}, 12, 10, 2));
    list.push_back(grid({"W002", "25/3/15", 14, 30, 10, 45, 100}, 10, 8, 6));
    list.push_back(grid({"W003", "25/3/16", 16, 38, 14, 50, 100}, 12, 12, 9));
    list.push_back(component({"P001", "25/3/16", 20, 50, 15, 40, 100}, 4));
    list.push_back(component({"P002", "25/3/17", 22, 30, 12, 60, 150}, 8));
    list.push_back(component({"P003", "25/3/17", 25, 52, 10, 50, 200}, 13));
    return list;
}

MemoryImage DemoInspection::image() {
    // The demo is made to fit the instrument; a failure here is a fault in the table above.
    Result<MemoryImage> image = MemoryImage::fromComponents(components());
    return image ? std::move(image).value() : MemoryImage();
}
