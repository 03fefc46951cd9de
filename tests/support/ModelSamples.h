#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Component.h"
#include "model/ComponentList.h"
#include "model/ProjectInfo.h"

// Builders for records used across the test folders.
namespace samples {

inline Component component(std::string_view code, std::string_view date = "11/3/25") {
    Component c;
    c.code.assign(code);
    c.name.assign(code);
    c.date.assign(date);
    c.designDiameter = 16;
    c.designCover = 50;
    c.diameterTolerance = 1;
    c.thicknessTolerance = 1;
    c.spacingTolerance = 3;
    return c;
}

// A component of the given type letter with `n` points (and `m` vertical ones for a grid),
// values varied so that a field mix-up shows.
inline Component withPoints(std::string_view code, int n, int m = 0) {
    Component c = component(code);
    const char t = code.empty() ? '\0' : code[0];
    if (t == 'W' || t == 'P') c.designSpacing = 100;
    if (t == 'W') {
        c.designDiameterVert = 12;
        c.designCoverVert = 50;
        c.designSpacingVert = 100;
    }
    for (int i = 0; i < n; ++i) {
        c.addPoint();
        auto& p = c.points.back();
        p.thickness = static_cast<std::int16_t>(20 + i);
        p.diameter = static_cast<std::int16_t>(t == 'Z' ? 8 + i % 20 : 0);
        p.position = (t == 'W' || t == 'P') ? 100 * i + 7 : 0;
    }
    for (int i = 0; i < m; ++i) {
        c.addPoint(true);
        auto& p = c.pointsVert.back();
        p.thickness = static_cast<std::int16_t>(40 + i);
        p.position = 65535 - 3 * i;
    }
    return c;
}

// A component of the given type letter whose points have these covers, in order.
inline Component withCovers(std::string_view code, const std::vector<std::int16_t>& covers) {
    Component c = withPoints(code, static_cast<int>(covers.size()));
    for (std::size_t i = 0; i < covers.size(); ++i) c.points[i].thickness = covers[i];
    return c;
}

inline std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

inline std::string codes(const ComponentList& list) {
    std::string out;
    for (const auto& c : list) {
        if (!out.empty()) out += ',';
        out += c.code.view();
    }
    return out;
}

}  // namespace samples
