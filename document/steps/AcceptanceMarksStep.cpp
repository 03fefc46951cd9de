#include "document/steps/AcceptanceMarksStep.h"

#include "document/steps/StepTarget.h"

AcceptanceMarksStep::AcceptanceMarksStep(StepTarget& target, AcceptanceMarks before,
                                         AcceptanceMarks after, bool confirmedBefore)
    : QUndoCommand(confirmedBefore ? QStringLiteral("验收判定") : QStringLiteral("确认验收类别")),
      target_(target),
      before_(std::move(before)),
      after_(std::move(after)),
      confirmedBefore_(confirmedBefore) {}

void AcceptanceMarksStep::set(const AcceptanceMarks& marks, bool confirmed) {
    target_.marks() = marks;
    target_.classesConfirmed() = confirmed;
    target_.stepChanged(StepChange::Marks, -1);
}

void AcceptanceMarksStep::redo() {
    set(after_, true);
}

void AcceptanceMarksStep::undo() {
    set(before_, confirmedBefore_);
}
