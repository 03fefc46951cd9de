#pragma once

#include <array>
#include <cstdint>

#include "model/Component.h"

// The eleven int16 fields of a component, in their stored order. The block reader and
// writer, the CLI and the panel all go through this one table.
enum class ComponentField {
    DesignDiameter,
    DesignDiameterVert,
    DesignCover,
    DesignCoverVert,
    DesignSpacing,
    DesignSpacingVert,
    DiameterTolerance,
    ThicknessTolerance,
    SpacingTolerance,
    PointCount,
    PointCountVert,
};

struct ComponentFieldRow {
    ComponentField field;
    const char* name;  // as the CLI prints it
    std::int16_t Component::*member;
};

inline constexpr std::array<ComponentFieldRow, 11> componentFields{{
    {ComponentField::DesignDiameter, "designDiameter", &Component::designDiameter},
    {ComponentField::DesignDiameterVert, "designDiameterVert", &Component::designDiameterVert},
    {ComponentField::DesignCover, "designCover", &Component::designCover},
    {ComponentField::DesignCoverVert, "designCoverVert", &Component::designCoverVert},
    {ComponentField::DesignSpacing, "designSpacing", &Component::designSpacing},
    {ComponentField::DesignSpacingVert, "designSpacingVert", &Component::designSpacingVert},
    {ComponentField::DiameterTolerance, "diameterTolerance", &Component::diameterTolerance},
    {ComponentField::ThicknessTolerance, "thicknessTolerance", &Component::thicknessTolerance},
    {ComponentField::SpacingTolerance, "spacingTolerance", &Component::spacingTolerance},
    {ComponentField::PointCount, "pointCount", &Component::pointCount},
    {ComponentField::PointCountVert, "pointCountVert", &Component::pointCountVert},
}};

inline std::int16_t& fieldOf(Component& c, ComponentField field) {
    return c.*componentFields[static_cast<std::size_t>(field)].member;
}
inline std::int16_t fieldOf(const Component& c, ComponentField field) {
    return c.*componentFields[static_cast<std::size_t>(field)].member;
}
