#pragma once

#include <QJsonObject>
#include <optional>
#include <vector>

#include "document/steps/RecordedStep.h"
#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"

class StepTarget;

// 增加构件 or 删除构件 as one step. The components keep their list nodes while they are out
// of the project (they are spliced, never copied), so every other step and every acceptance
// mark that names a component by its address finds it again after undo and redo; a deleted
// component's mark leaves and comes back with it.
class ComponentListStep : public RecordedStep {
public:
    // Adds `components`, each where insertComponent puts it; `source` names the upload data
    // file they came from ({"file", "size", "sha256"}), their values being the instrument's.
    static ComponentListStep* adding(StepTarget& target, ComponentList components,
                                     QJsonObject source, const QString& text);
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
    // One record per component at places_, as they stand in the list now.
    std::vector<QJsonObject> recordsAtPlaces(const char* action) const;

    StepTarget& target_;
    Kind kind_;
    ComponentList outside_;  // the components while they are not in the project
    std::vector<std::optional<AcceptanceMark>> marks_;  // theirs, in the order of outside_
    std::vector<int> places_;                           // ascending, as they stand in the list
    std::vector<ValueOrigins::Taken> origins_;          // theirs, in the order of outside_
    QJsonObject source_;
};
