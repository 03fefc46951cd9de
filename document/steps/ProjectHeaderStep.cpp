#include "document/steps/ProjectHeaderStep.h"

#include "document/ValueRecords.h"
#include "document/steps/StepTarget.h"

ProjectHeaderStep::ProjectHeaderStep(StepTarget& target, const ProjectInfo& before,
                                     const ProjectInfo& after)
    : RecordedStep(QStringLiteral("设置工程")), target_(target), before_(before), after_(after) {}

void ProjectHeaderStep::set(const ProjectInfo& info) {
    if (ProjectInfo* header = target_.header()) *header = info;
    target_.stepChanged(StepChange::Header, -1);
}

void ProjectHeaderStep::redo() {
    std::vector<QJsonObject> records;
    const auto text = [&](const char* field, const auto& before, const auto& after) {
        if (before == after) return;
        records.push_back({{QStringLiteral("action"), QStringLiteral("edit")},
                           {QStringLiteral("field"), QString::fromUtf8(field)},
                           {QStringLiteral("old"), valueRecords::utf8(before.view())},
                           {QStringLiteral("new"), valueRecords::utf8(after.view())}});
    };
    text("projectName", before_.projectName, after_.projectName);
    text("testBasis", before_.testBasis, after_.testBasis);
    text("testUnit", before_.testUnit, after_.testUnit);
    text("instrument", before_.instrument, after_.instrument);
    set(after_);
    redone(std::move(records), target_.stamp());
}

void ProjectHeaderStep::undo() {
    set(before_);
    undone(target_.stamp());
}
