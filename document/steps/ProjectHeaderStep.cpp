#include "document/steps/ProjectHeaderStep.h"

#include "document/steps/StepTarget.h"

ProjectHeaderStep::ProjectHeaderStep(StepTarget& target, const ProjectInfo& before,
                                     const ProjectInfo& after)
    : QUndoCommand(QStringLiteral("设置工程")), target_(target), before_(before), after_(after) {}

void ProjectHeaderStep::set(const ProjectInfo& info) {
    if (ProjectInfo* header = target_.header()) *header = info;
    target_.stepChanged(StepChange::Header, -1);
}

void ProjectHeaderStep::redo() {
    set(after_);
}

void ProjectHeaderStep::undo() {
    set(before_);
}
