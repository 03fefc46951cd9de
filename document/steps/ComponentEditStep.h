#pragma once

#include <optional>
#include <variant>

#include "document/steps/RecordedStep.h"
#include "model/ComponentFields.h"
#include "model/FixedText.h"
#include "model/MeasurePoint.h"
#include "model/PointRef.h"

class StepTarget;

// One change to one component of the open project, holding only the values it changes. Like
// every step, its redo makes the change, also the first time.
class ComponentEditStep : public RecordedStep {
public:
    struct NameChange {
        FixedText<50> before, after;
    };
    struct FieldChange {
        ComponentField field;
        std::int16_t before, after;
    };
    struct PointChange {
        PointRef point;
        MeasurePoint before, after;
    };
    struct PointAdded {
        bool vertical;
    };
    struct PointRemoved {
        PointRef point;
        MeasurePoint removed;
    };
    using Change = std::variant<NameChange, FieldChange, PointChange, PointAdded, PointRemoved>;

    ComponentEditStep(StepTarget& target, int index, Change change, const QString& text);

    void redo() override;
    void undo() override;

    int componentIndex() const { return index_; }

private:
    void apply(bool forward);

    StepTarget& target_;
    int index_;
    Change change_;
    std::optional<ValueOrigins::Point> carried_;  // a removed point's record while it is out
};
