#include "document/steps/AcceptanceMarksStep.h"

#include <optional>
#include <tuple>

#include "document/ValueRecords.h"
#include "document/steps/StepTarget.h"

AcceptanceMarksStep::AcceptanceMarksStep(StepTarget& target, AcceptanceMarks before,
                                         AcceptanceMarks after, bool confirmedBefore)
    : RecordedStep(confirmedBefore ? QStringLiteral("验收判定") : QStringLiteral("确认验收类别")),
      target_(target),
      before_(std::move(before)),
      after_(std::move(after)),
      confirmedBefore_(confirmedBefore) {}

void AcceptanceMarksStep::set(const AcceptanceMarks& marks, bool confirmed) {
    target_.marks() = marks;
    target_.classesConfirmed() = confirmed;
    target_.stepChanged(StepChange::Marks, -1);
}

namespace {

QJsonValue classValue(const std::optional<AcceptanceMark>& mark) {
    if (!mark) return QJsonValue::Null;
    for (const AcceptanceClassRule& c : acceptanceRule.classes) {
        if (c.cls == mark->cls)
            return QString::fromUtf8(c.key.data(), static_cast<qsizetype>(c.key.size()));
    }
    return QJsonValue::Null;
}

QJsonValue sampleValue(const std::optional<AcceptanceMark>& mark) {
    return mark ? QJsonValue(static_cast<int>(mark->sample)) : QJsonValue::Null;
}

std::optional<AcceptanceMark> markOf(const AcceptanceMarks& marks, const Component& c) {
    const auto it = marks.find(&c);
    return it == marks.end() ? std::nullopt : std::optional(it->second);
}

}  // namespace

void AcceptanceMarksStep::redo() {
    std::vector<QJsonObject> records;
    const ComponentList& list = target_.components();
    for (const Component& c : list) {
        const auto before = markOf(before_, c);
        const auto after = markOf(after_, c);
        if (before == after) continue;
        for (const auto& [field, old, now] :
             {std::tuple{"class", classValue(before), classValue(after)},
              std::tuple{"sample", sampleValue(before), sampleValue(after)}}) {
            if (old == now) continue;
            QJsonObject r = valueRecords::forComponent(list, c, "edit");
            r.insert(QStringLiteral("field"), QString::fromUtf8(field));
            r.insert(QStringLiteral("old"), old);
            r.insert(QStringLiteral("new"), now);
            records.push_back(std::move(r));
        }
    }
    if (!confirmedBefore_) {
        records.push_back({{QStringLiteral("action"), QStringLiteral("confirm")},
                           {QStringLiteral("field"), QStringLiteral("classesConfirmed")},
                           {QStringLiteral("old"), false},
                           {QStringLiteral("new"), true}});
    }
    set(after_, true);
    redone(std::move(records), target_.stamp());
}

void AcceptanceMarksStep::undo() {
    set(before_, confirmedBefore_);
    undone(target_.stamp());
}
