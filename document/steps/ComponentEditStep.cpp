#include "document/steps/ComponentEditStep.h"

#include <iterator>

#include "document/steps/StepTarget.h"

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
    : QUndoCommand(text), target_(target), index_(index), change_(std::move(change)) {}

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
    std::visit(
        Overloaded{
            [&](const NameChange& n) { c.name = forward ? n.after : n.before; },
            [&](const FieldChange& f) { fieldOf(c, f.field) = forward ? f.after : f.before; },
            [&](const PointChange& p) {
                auto& points = p.point.vertical ? c.pointsVert : c.points;
                points.at(static_cast<std::size_t>(p.point.index)) = forward ? p.after : p.before;
            },
            [&](const PointAdded& a) {
                if (forward) {
                    c.addPoint(a.vertical);
                } else {
                    const auto& points = a.vertical ? c.pointsVert : c.points;
                    c.removePoint(points.size() - 1, a.vertical);
                }
            },
            [&](const PointRemoved& r) {
                if (forward) {
                    c.removePoint(static_cast<std::size_t>(r.point.index), r.point.vertical);
                } else {
                    c.insertPoint(static_cast<std::size_t>(r.point.index), r.removed,
                                  r.point.vertical);
                }
            },
        },
        change_);
}
