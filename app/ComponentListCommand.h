#pragma once

#include <QUndoCommand>
#include <utility>
#include <vector>

#include "model/Component.h"

class ProjectSession;

// 增加构件 or 删除构件 as one step on the session's undo stack: the components that entered or
// left the project's list, each with its place in the list (as it stands with them in it).
class ComponentListCommand : public QUndoCommand {
public:
    enum class Kind { Added, Deleted };
    using Placed = std::vector<std::pair<int, Component>>;  // ascending places

    // The change has already been made when the command is pushed.
    ComponentListCommand(ProjectSession& session, Kind kind, Placed components,
                         const QString& text);

    void redo() override;
    void undo() override;

private:
    void insertAll();
    void removeAll();

    ProjectSession& session_;
    Kind kind_;
    Placed components_;
    bool first_ = true;
};
