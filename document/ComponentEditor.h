#pragma once

#include <cstdint>
#include <string_view>

#include "model/ComponentFields.h"
#include "model/MeasurePoint.h"
#include "model/PointRef.h"

struct Component;
class ValueOrigins;

// The way the component panel changes the open project. Components are named by their place
// in the project's list, since the panel keeps no copy and a component may share its code
// with another. Each call stores one change as one step the user can undo; it returns false
// and stores nothing when the change would not alter the component (the same value again,
// a point that is not there). Implemented by the project document. GUI thread only.
class ComponentEditor {
public:
    virtual ~ComponentEditor() = default;

    // The component at `index`, or null when there is none.
    virtual const Component* component(int index) const = 0;

    // `name` is GBK and is cut at a character boundary to what the field holds.
    virtual bool setName(int index, std::string_view name) = 0;
    virtual bool setField(int index, ComponentField field, std::int16_t value) = 0;
    // Replaces the point's three values.
    virtual bool setPoint(int index, PointRef point, const MeasurePoint& value) = 0;
    // Appends a zero point to the list.
    virtual bool addPoint(int index, bool vertical) = 0;
    virtual bool removePoint(int index, PointRef point) = 0;

    // What stood in each changed value before, for the panel's marks; null when not kept.
    virtual const ValueOrigins* valueOrigins() const { return nullptr; }
};
