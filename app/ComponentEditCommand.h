#pragma once

#include <QUndoCommand>
#include <variant>

#include "display/ComponentEditor.h"
#include "model/FixedText.h"

class ProjectSession;

// One change to one component of the open project, as a step on the session's undo stack. It
// holds only the values it changes. Its first redo is the change the user just made, which
// the panel shows by itself; every later undo and redo tells the window to show the
// component again.
class ComponentEditCommand : public QUndoCommand {
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

    ComponentEditCommand(ProjectSession& session, int index, Change change, const QString& text);

    void redo() override;
    void undo() override;

    int componentIndex() const { return index_; }

private:
    void apply(bool forward);

    ProjectSession& session_;
    int index_;
    Change change_;
    bool first_ = true;
};
