#include "app/ComponentListCommand.h"

#include <iterator>

#include "app/ProjectSession.h"

ComponentListCommand::ComponentListCommand(ProjectSession& session, Kind kind, Placed components,
                                           const QString& text)
    : QUndoCommand(text), session_(session), kind_(kind), components_(std::move(components)) {}

void ComponentListCommand::insertAll() {
    ComponentList& list = session_.project().components();
    // Ascending, so each place counts the ones put back before it.
    for (const auto& [index, component] : components_) {
        list.insert(std::next(list.begin(), std::min<std::ptrdiff_t>(index, list.size())),
                    component);
    }
}

void ComponentListCommand::removeAll() {
    ComponentList& list = session_.project().components();
    for (auto it = components_.rbegin(); it != components_.rend(); ++it) {
        if (it->first < static_cast<int>(list.size()))
            list.erase(std::next(list.begin(), it->first));
    }
}

void ComponentListCommand::redo() {
    // The first redo is the command the user just ran, which changed the list already.
    if (!first_) kind_ == Kind::Added ? insertAll() : removeAll();
    first_ = false;
    session_.reissueViewMode();
}

void ComponentListCommand::undo() {
    kind_ == Kind::Added ? removeAll() : insertAll();
    session_.reissueViewMode();
}
