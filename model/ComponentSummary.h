#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "model/Component.h"

// The fifteen display texts of one component, in their fixed order (GBK). Table rows, the
// navigation pane's groups, the component panel's refresh and corvane-cli all carry it.
struct ComponentSummary {
    static constexpr std::size_t count = 15;

    std::string codeCell;
    std::string nameCell;
    std::string dateCell;
    std::string typeCell;
    std::string diameterDesignCell;
    std::string diameterMaxCell;
    std::string diameterMinCell;
    std::string coverDesignCell;
    std::string thicknessMaxCell;
    std::string thicknessMinCell;
    std::string spacingDesignCell;
    std::string spacingMaxCell;
    std::string spacingMinCell;
    std::string pointCountCell;
    std::string passRateCell;

    // The texts by their position in the order above.
    std::string& operator[](std::size_t i);
    const std::string& operator[](std::size_t i) const;

    friend bool operator==(const ComponentSummary&, const ComponentSummary&) = default;
};

// Pure: reads the component and its points, changes nothing.
ComponentSummary BuildComponentSummary(const Component& component);

// The pass rate of n points of which f failed: "%.1f" with a trailing ".0" dropped and "%"
// appended; exactly 0 is "0". A list without points has no rate: the empty text.
std::string FormatPassRate(int n, int f);
