#include "document/steps/AcceptanceMarksStep.h"

#include "document/steps/StepTarget.h"

AcceptanceMarksStep::AcceptanceMarksStep(StepTarget& target, AcceptanceMarks before,
                                         AcceptanceMarks after)
    : QUndoCommand(QStringLiteral("验收判定")),
      target_(target),
      before_(std::move(before)),
      after_(std::move(after)) {}

void AcceptanceMarksStep::set(const AcceptanceMarks& marks) {
    target_.marks() = marks;
    target_.stepChanged(StepChange::Marks, -1);
}

void AcceptanceMarksStep::redo() {
    set(after_);
}

void AcceptanceMarksStep::undo() {
    set(before_);
}
