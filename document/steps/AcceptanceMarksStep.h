#pragma once

#include "document/steps/RecordedStep.h"
#include "model/AcceptanceMark.h"

class StepTarget;

// 验收判定's OK as one step: every component's class and sample before and after, and whether
// the classes were confirmed (an OK confirms classes that came with a project changed
// elsewhere, even without a change: "确认验收类别").
class AcceptanceMarksStep : public RecordedStep {
public:
    AcceptanceMarksStep(StepTarget& target, AcceptanceMarks before, AcceptanceMarks after,
                        bool confirmedBefore);

    void redo() override;
    void undo() override;

private:
    void set(const AcceptanceMarks& marks, bool confirmed);

    StepTarget& target_;
    AcceptanceMarks before_, after_;
    bool confirmedBefore_;
};
