#pragma once

#include <array>
#include <cstdint>

#include "model/Component.h"

// The eleven int16 fields of a component under their names, in their stored order.
struct ComponentField {
    const char* name;
    std::int16_t Component::*member;
};

inline constexpr std::array<ComponentField, 11> componentFields{{
    {"designDiameter", &Component::designDiameter},
    {"designDiameterVert", &Component::designDiameterVert},
    {"designCover", &Component::designCover},
    {"designCoverVert", &Component::designCoverVert},
    {"designSpacing", &Component::designSpacing},
    {"designSpacingVert", &Component::designSpacingVert},
    {"diameterTolerance", &Component::diameterTolerance},
    {"thicknessTolerance", &Component::thicknessTolerance},
    {"spacingTolerance", &Component::spacingTolerance},
    {"pointCount", &Component::pointCount},
    {"pointCountVert", &Component::pointCountVert},
}};
