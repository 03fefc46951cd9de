#pragma once

#include <unordered_map>

#include "model/AcceptanceRule.h"
#include "model/Component.h"

// Which sample of GB 50204, Appendix E a component was drawn in.
enum class AcceptanceSample : int { First = 1, Second = 2 };

// What the inspector said about one component: its class and its sample. The project file has
// no room for it; it travels beside the project.
struct AcceptanceMark {
    AcceptanceClass cls = AcceptanceClass::Beam;
    AcceptanceSample sample = AcceptanceSample::First;

    friend bool operator==(const AcceptanceMark&, const AcceptanceMark&) = default;
};

// The marks of the classed components of one open project, by the component's address (which
// stays while it is in the list); a component without a mark takes no part.
using AcceptanceMarks = std::unordered_map<const Component*, AcceptanceMark>;

// Whether a component's covers can be judged at all: thickness, grid and profile components;
// never diameter ones, nor a code of no type.
inline bool takesPartInAcceptance(const Component& component) {
    const DetectionTypeTraits* traits = component.traits();
    return traits && traits->acceptanceJudged;
}
