#pragma once

#include "document/steps/RecordedStep.h"
#include "model/ProjectInfo.h"

class StepTarget;

// 设置工程 as one step: the four header texts before and after.
class ProjectHeaderStep : public RecordedStep {
public:
    ProjectHeaderStep(StepTarget& target, const ProjectInfo& before, const ProjectInfo& after);

    void redo() override;
    void undo() override;

private:
    void set(const ProjectInfo& info);

    StepTarget& target_;
    ProjectInfo before_, after_;
};
