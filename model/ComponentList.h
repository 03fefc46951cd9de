#pragma once

#include <list>
#include <vector>

#include "model/Component.h"

// Elements keep their address while they stay in the list: the panel and the navigation
// pane point at them.
using ComponentList = std::list<Component>;

// Links `component` in at the end of its type group, keeping the order H, Z, W, P; any other
// letter goes to the end. Codes are not compared, so a code may appear twice.
ComponentList::iterator insertComponent(ComponentList& list, Component component);

// Whether a selection over a list (element i for the i-th component) ticks any component:
// the component and report commands do nothing without one.
bool anyTicked(const std::vector<bool>& ticked);
