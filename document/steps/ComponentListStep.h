#pragma once

#include <QUndoCommand>
#include <optional>
#include <vector>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"

class StepTarget;

// 增加构件 or 删除构件 as one step. The components keep their list nodes while they are out
// of the project (they are spliced, never copied), so every other step and every acceptance
// mark that names a component by its address finds it again after undo and redo; a deleted
// component's mark leaves and comes back with it.
class ComponentListStep : public QUndoCommand {
public:
    // Adds `components`, each where insertComponent puts it.
    static ComponentListStep* adding(StepTarget& target, ComponentList components,
                                     const QString& text);
    // Deletes the components at `indices` (ascending, each in the list).
    static ComponentListStep* deleting(StepTarget& target, std::vector<int> indices,
                                       const QString& text);

    void redo() override;
    void undo() override;

private:
    enum class Kind { Added, Deleted };
    ComponentListStep(StepTarget& target, Kind kind, const QString& text);

    void putIn();
    void takeOut();

    StepTarget& target_;
    Kind kind_;
    ComponentList outside_;  // the components while they are not in the project
    std::vector<std::optional<AcceptanceMark>> marks_;  // theirs, in the order of outside_
    std::vector<int> places_;                           // ascending, as they stand in the list
};
