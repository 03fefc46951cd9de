#include "document/steps/ComponentEditStep.h"

#include <iterator>

#include "document/ValueRecords.h"
#include "document/steps/StepTarget.h"
#include "model/ComponentFields.h"

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

ComponentEditStep::ComponentEditStep(StepTarget& target, int index, Change change,
                                     const QString& text)
    : RecordedStep(text), target_(target), index_(index), change_(std::move(change)) {}

void ComponentEditStep::redo() {
    apply(true);
    target_.stepChanged(StepChange::Component, index_);
}

void ComponentEditStep::undo() {
    apply(false);
    target_.stepChanged(StepChange::Component, index_);
}

void ComponentEditStep::apply(bool forward) {
    ComponentList& list = target_.components();
    // The stack keeps list changes in order, so the component is always there.
    if (index_ < 0 || index_ >= static_cast<int>(list.size())) return;
    Component& c = *std::next(list.begin(), index_);
    const ValueOrigins::Stamp stamp = target_.stamp();
    ValueOrigins& origins = target_.origins();
    std::vector<QJsonObject> records;
    // One record of an edited value; the origins follow whichever way the step goes.
    const auto edited = [&](const QString& field, const QJsonValue& before, const QJsonValue& after,
                            std::optional<PointRef> point) {
        if (before == after) return;
        // The records are the redo's: an undo only keeps the origins in step.
        if (forward) {
            QJsonObject r = valueRecords::forComponent(list, c, "edit");
            if (point) valueRecords::addPoint(r, c, *point);
            r.insert(QStringLiteral("field"), field);
            r.insert(QStringLiteral("old"), before);
            r.insert(QStringLiteral("new"), after);
            records.push_back(std::move(r));
        }
        const QJsonValue& from = forward ? before : after;
        const QJsonValue& to = forward ? after : before;
        if (point) {
            origins.pointChanged(&c, *point, field, from, to, stamp);
        } else {
            origins.changed(&c, field, from, to, stamp);
        }
    };
    const auto pointRecord = [&](const char* action, PointRef point, const QJsonValue& before,
                                 const QJsonValue& after) {
        QJsonObject r = valueRecords::forComponent(list, c, action);
        valueRecords::addPoint(r, c, point);
        r.insert(QStringLiteral("old"), before);
        r.insert(QStringLiteral("new"), after);
        records.push_back(r);
    };
    std::visit(
        Overloaded{
            [&](const NameChange& n) {
                edited(QStringLiteral("name"), valueRecords::utf8(n.before.view()),
                       valueRecords::utf8(n.after.view()), std::nullopt);
                c.name = forward ? n.after : n.before;
            },
            [&](const FieldChange& f) {
                edited(QString::fromUtf8(componentFields[static_cast<std::size_t>(f.field)].name),
                       f.before, f.after, std::nullopt);
                fieldOf(c, f.field) = forward ? f.after : f.before;
            },
            [&](const PointChange& p) {
                const QJsonObject before = valueRecords::pointValue(p.before);
                const QJsonObject after = valueRecords::pointValue(p.after);
                for (const char* field : {"thickness", "diameter", "position"}) {
                    const QString name = QString::fromUtf8(field);
                    edited(name, before.value(name), after.value(name), p.point);
                }
                auto& points = p.point.vertical ? c.pointsVert : c.points;
                points.at(static_cast<std::size_t>(p.point.index)) = forward ? p.after : p.before;
            },
            [&](const PointAdded& a) {
                const auto& points = a.vertical ? c.pointsVert : c.points;
                if (forward) {
                    c.addPoint(a.vertical);
                    const PointRef added{a.vertical, static_cast<int>(points.size()) - 1};
                    pointRecord("addPoint", added, QJsonValue::Null,
                                valueRecords::pointValue(points.back()));
                    origins.pointAdded(&c, added, stamp);
                } else {
                    origins.pointRemoved(&c,
                                         PointRef{a.vertical, static_cast<int>(points.size()) - 1});
                    c.removePoint(points.size() - 1, a.vertical);
                }
            },
            [&](const PointRemoved& r) {
                if (forward) {
                    pointRecord("removePoint", r.point, valueRecords::pointValue(r.removed),
                                QJsonValue::Null);
                    carried_ = origins.pointRemoved(&c, r.point);
                    c.removePoint(static_cast<std::size_t>(r.point.index), r.point.vertical);
                } else {
                    c.insertPoint(static_cast<std::size_t>(r.point.index), r.removed,
                                  r.point.vertical);
                    origins.pointRestored(&c, r.point, std::move(carried_));
                    carried_.reset();
                }
            },
        },
        change_);
    if (forward) {
        redone(std::move(records), stamp);
    } else {
        undone(stamp);
    }
}
