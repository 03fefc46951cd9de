#include "document/steps/ComponentListStep.h"

#include <algorithm>
#include <iterator>

#include "document/steps/StepTarget.h"

ComponentListStep::ComponentListStep(StepTarget& target, Kind kind, const QString& text)
    : QUndoCommand(text), target_(target), kind_(kind) {}

ComponentListStep* ComponentListStep::adding(StepTarget& target, ComponentList components,
                                             const QString& text) {
    auto* step = new ComponentListStep(target, Kind::Added, text);
    step->outside_ = std::move(components);
    step->marks_.resize(step->outside_.size());
    return step;
}

ComponentListStep* ComponentListStep::deleting(StepTarget& target, std::vector<int> indices,
                                               const QString& text) {
    auto* step = new ComponentListStep(target, Kind::Deleted, text);
    step->places_ = std::move(indices);
    return step;
}

// Back into the list: added ones where insertComponent puts them (which fixes their places
// the first time), deleted ones where they were.
void ComponentListStep::putIn() {
    ComponentList& list = target_.components();
    AcceptanceMarks& marks = target_.marks();
    std::size_t i = 0;
    if (places_.empty()) {
        // The first time: the order of the list decides, then the places are known.
        std::vector<const Component*> added;
        for (Component& c : outside_) added.push_back(&*insertComponent(list, std::move(c)));
        outside_.clear();
        int index = 0;
        for (const Component& c : list) {
            if (std::find(added.begin(), added.end(), &c) != added.end()) places_.push_back(index);
            ++index;
        }
        return;
    }
    // Ascending, so each place counts the ones put back before it.
    for (const int place : places_) {
        if (outside_.empty()) break;
        const auto at = std::next(list.begin(), std::min<std::ptrdiff_t>(place, list.size()));
        if (marks_[i]) marks.emplace(&outside_.front(), *marks_[i]);
        list.splice(at, outside_, outside_.begin());
        ++i;
    }
}

void ComponentListStep::takeOut() {
    ComponentList& list = target_.components();
    AcceptanceMarks& marks = target_.marks();
    marks_.assign(places_.size(), std::nullopt);
    // From the back, so the places before stay true; outside_ ends up in ascending order.
    for (std::size_t k = places_.size(); k-- > 0;) {
        if (places_[k] >= static_cast<int>(list.size())) continue;
        const auto it = std::next(list.begin(), places_[k]);
        if (const auto mark = marks.find(&*it); mark != marks.end()) {
            marks_[k] = mark->second;
            marks.erase(mark);
        }
        outside_.splice(outside_.begin(), list, it);
    }
}

void ComponentListStep::redo() {
    kind_ == Kind::Added ? putIn() : takeOut();
    target_.stepChanged(StepChange::List, -1);
}

void ComponentListStep::undo() {
    kind_ == Kind::Added ? takeOut() : putIn();
    target_.stepChanged(StepChange::List, -1);
}
