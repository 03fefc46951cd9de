#pragma once

#include <optional>
#include <vector>

#include "model/ComponentFields.h"
#include "model/DetectionType.h"

// What the component panel's grid lists for a detection type, from the type's traits: the
// name, then the design values and tolerances in their order, then the results sections.
struct PanelRow {
    std::optional<ComponentField> field;  // none: the name item
    const char* label;                    // UTF-8
};

struct PanelRows {
    std::vector<PanelRow> header;  // section 0, under the component's code
    const char* results;           // the (horizontal) point results section
    const char* verticalResults;   // the vertical one; null for a type without that list
    bool numberPoints;             // points shown as a bare thickness, not a point item

    static PanelRows of(const DetectionTypeTraits& traits);
};
