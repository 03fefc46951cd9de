#include "model/ComponentSummary.h"

#include <algorithm>
#include <cstdio>

#include "model/GbkCodec.h"

namespace {

using Member = std::string ComponentSummary::*;
constexpr std::array<Member, ComponentSummary::count> members{
    &ComponentSummary::codeCell,           &ComponentSummary::nameCell,
    &ComponentSummary::dateCell,           &ComponentSummary::typeCell,
    &ComponentSummary::diameterDesignCell, &ComponentSummary::diameterMaxCell,
    &ComponentSummary::diameterMinCell,    &ComponentSummary::coverDesignCell,
    &ComponentSummary::thicknessMaxCell,   &ComponentSummary::thicknessMinCell,
    &ComponentSummary::spacingDesignCell,  &ComponentSummary::spacingMaxCell,
    &ComponentSummary::spacingMinCell,     &ComponentSummary::pointCountCell,
    &ComponentSummary::passRateCell,
};

// Largest and smallest of the values seen. A 0 is a point not filled in yet (added by hand),
// not a reading: it never becomes the minimum, which stays 0 only when no value was read.
struct Extremes {
    int max = 0;
    int min = 0;
    void add(int v) {
        if (v > max) max = v;
        if (v != 0 && (min == 0 || v < min)) min = v;
    }
};

struct ListSummary {
    Extremes thickness, diameter, position;
    int failures = 0;
};

// Walks the first `count` points (never past the list), judging each thickness against
// cover ± tolerance; values on a bound pass.
ListSummary summarise(const std::vector<MeasurePoint>& list, int count, int cover, int tolerance) {
    ListSummary s;
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(std::max(count, 0)), list.size());
    for (std::size_t i = 0; i < n; ++i) {
        const MeasurePoint& p = list[i];
        s.thickness.add(p.thickness);
        s.diameter.add(p.diameter);
        s.position.add(p.position);
        if (p.thickness > cover + tolerance || p.thickness < cover - tolerance) ++s.failures;
    }
    return s;
}

std::string mm(int v) {
    return std::to_string(v) + " mm";
}
std::string pairMm(int a, int b) {
    return std::to_string(a) + "," + std::to_string(b) + " mm";
}
std::string pair(int a, int b) {
    return std::to_string(a) + "," + std::to_string(b);
}

}  // namespace

std::string& ComponentSummary::operator[](std::size_t i) {
    return this->*members.at(i);
}

const std::string& ComponentSummary::operator[](std::size_t i) const {
    return this->*members.at(i);
}

std::string FormatPassRate(int n, int f) {
    if (n <= 0) return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", (n - f) / static_cast<double>(n) * 100.0);
    std::string rate = text;
    if (rate == "0.0" || rate == "-0.0") return "0";
    if (rate.back() == '0') rate.resize(rate.size() - 2);
    return rate + "%";
}

ComponentSummary BuildComponentSummary(const Component& c) {
    ComponentSummary s;
    s.codeCell = c.code.str();
    s.nameCell = c.name.str();
    s.dateCell = c.date.str();
    s.typeCell = gbk::fromUtf8(displayText(c.type()));

    const DetectionTypeTraits* type = c.traits();
    if (!type) return s;
    const ListSummary h = summarise(c.points, c.pointCount, c.designCover, c.thicknessTolerance);

    if (type->verticalList) {
        s.diameterDesignCell = pairMm(c.designDiameter, c.designDiameterVert);
        s.coverDesignCell = pairMm(c.designCover, c.designCoverVert);
        s.spacingDesignCell = pairMm(c.designSpacing, c.designSpacingVert);
        s.pointCountCell = pair(c.pointCount, c.pointCountVert);
        const std::string r1 = FormatPassRate(c.pointCount, h.failures);
        if (c.pointCountVert == 0) {
            s.thicknessMaxCell = std::to_string(h.thickness.max);
            s.thicknessMinCell = std::to_string(h.thickness.min);
            s.spacingMaxCell = std::to_string(h.position.max);
            s.spacingMinCell = std::to_string(h.position.min);
            s.passRateCell = r1;
        } else {
            const ListSummary v =
                summarise(c.pointsVert, c.pointCountVert, c.designCoverVert, c.thicknessTolerance);
            s.thicknessMaxCell = pairMm(h.thickness.max, v.thickness.max);
            s.thicknessMinCell = pairMm(h.thickness.min, v.thickness.min);
            s.spacingMaxCell = pairMm(h.position.max, v.position.max);
            s.spacingMinCell = pairMm(h.position.min, v.position.min);
            s.passRateCell = r1 + "," + FormatPassRate(c.pointCountVert, v.failures);
        }
        return s;
    }

    s.diameterDesignCell = mm(c.designDiameter);
    s.coverDesignCell = mm(c.designCover);
    s.thicknessMaxCell = mm(h.thickness.max);
    s.thicknessMinCell = mm(h.thickness.min);
    s.pointCountCell = std::to_string(c.pointCount);
    s.passRateCell = FormatPassRate(c.pointCount, h.failures);
    if (type->diameters) {
        s.diameterMaxCell = mm(h.diameter.max);
        s.diameterMinCell = mm(h.diameter.min);
    }
    if (type->positions) {
        s.spacingDesignCell = mm(c.designSpacing);
        s.spacingMaxCell = mm(h.position.max);
        s.spacingMinCell = mm(h.position.min);
    }
    return s;
}
