#include "app/ComponentEditCommand.h"

#include "app/ProjectSession.h"

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

ComponentEditCommand::ComponentEditCommand(ProjectSession& session, int index, Change change,
                                           const QString& text)
    : QUndoCommand(text), session_(session), index_(index), change_(std::move(change)) {}

void ComponentEditCommand::redo() {
    apply(true);
    if (!first_) session_.showComponentAgain(index_);
    first_ = false;
}

void ComponentEditCommand::undo() {
    apply(false);
    session_.showComponentAgain(index_);
}

void ComponentEditCommand::apply(bool forward) {
    Component* c = session_.componentAt(index_);
    if (!c) return;  // the stack keeps list changes in order, so this cannot happen
    std::visit(
        Overloaded{
            [&](const NameChange& n) { c->name = forward ? n.after : n.before; },
            [&](const FieldChange& f) { fieldOf(*c, f.field) = forward ? f.after : f.before; },
            [&](const PointChange& p) {
                auto& list = p.point.vertical ? c->pointsVert : c->points;
                list.at(static_cast<std::size_t>(p.point.index)) = forward ? p.after : p.before;
            },
            [&](const PointAdded& a) {
                if (forward) {
                    c->addPoint(a.vertical);
                } else {
                    const auto& list = a.vertical ? c->pointsVert : c->points;
                    c->removePoint(list.size() - 1, a.vertical);
                }
            },
            [&](const PointRemoved& r) {
                if (forward) {
                    c->removePoint(static_cast<std::size_t>(r.point.index), r.point.vertical);
                } else {
                    c->insertPoint(static_cast<std::size_t>(r.point.index), r.removed,
                                   r.point.vertical);
                }
            },
        },
        change_);
}
