#pragma once

#include "document/ComponentEditor.h"
#include "model/ComponentList.h"

// A ComponentEditor that shows a list and refuses every change: the panel over a project
// that is only looked at (corvane-cli chart, a view without a session).
class ReadOnlyComponents : public ComponentEditor {
public:
    // `list` is not owned and must outlive this object.
    explicit ReadOnlyComponents(const ComponentList& list) : list_(list) {}

    const Component* component(int index) const override;
    bool setName(int, std::string_view) override { return false; }
    bool setField(int, ComponentField, std::int16_t) override { return false; }
    bool setPoint(int, PointRef, const MeasurePoint&) override { return false; }
    bool addPoint(int, bool) override { return false; }
    bool removePoint(int, PointRef) override { return false; }

private:
    const ComponentList& list_;
};
