#pragma once

#include <QUndoCommand>

#include "model/AcceptanceMark.h"

class StepTarget;

// 验收判定's OK as one step: every component's class and sample before and after.
class AcceptanceMarksStep : public QUndoCommand {
public:
    AcceptanceMarksStep(StepTarget& target, AcceptanceMarks before, AcceptanceMarks after);

    void redo() override;
    void undo() override;

private:
    void set(const AcceptanceMarks& marks);

    StepTarget& target_;
    AcceptanceMarks before_, after_;
};
