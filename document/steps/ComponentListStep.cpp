#include "document/steps/ComponentListStep.h"

#include <algorithm>
#include <iterator>

#include "document/ValueRecords.h"
#include "document/steps/StepTarget.h"

ComponentListStep::ComponentListStep(StepTarget& target, Kind kind, const QString& text)
    : RecordedStep(text), target_(target), kind_(kind) {}

ComponentListStep* ComponentListStep::adding(StepTarget& target, ComponentList components,
                                             QJsonObject source, const QString& text) {
    auto* step = new ComponentListStep(target, Kind::Added, text);
    step->outside_ = std::move(components);
    step->marks_.resize(step->outside_.size());
    step->origins_.resize(step->outside_.size());
    step->source_ = std::move(source);
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
        for (const Component* c : added) {
            if (!source_.isEmpty()) target_.origins().setFromInstrument(c);
        }
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
        target_.origins().put(&outside_.front(), std::move(origins_[i]));
        list.splice(at, outside_, outside_.begin());
        ++i;
    }
}

void ComponentListStep::takeOut() {
    ComponentList& list = target_.components();
    AcceptanceMarks& marks = target_.marks();
    marks_.assign(places_.size(), std::nullopt);
    origins_.assign(places_.size(), {});
    // From the back, so the places before stay true; outside_ ends up in ascending order.
    for (std::size_t k = places_.size(); k-- > 0;) {
        if (places_[k] >= static_cast<int>(list.size())) continue;
        const auto it = std::next(list.begin(), places_[k]);
        if (const auto mark = marks.find(&*it); mark != marks.end()) {
            marks_[k] = mark->second;
            marks.erase(mark);
        }
        origins_[k] = target_.origins().take(&*it);
        outside_.splice(outside_.begin(), list, it);
    }
}

std::vector<QJsonObject> ComponentListStep::recordsAtPlaces(const char* action) const {
    const ComponentList& list = target_.components();
    std::vector<QJsonObject> records;
    auto it = list.begin();
    int at = 0;
    for (const int place : places_) {
        if (place >= static_cast<int>(list.size())) break;
        it = std::next(it, place - at);
        at = place;
        QJsonObject r = valueRecords::forComponent(list, *it, action);
        if (!source_.isEmpty()) r.insert(QStringLiteral("source"), source_);
        records.push_back(std::move(r));
    }
    return records;
}

void ComponentListStep::redo() {
    std::vector<QJsonObject> records;
    if (kind_ == Kind::Added) {
        putIn();
        records = recordsAtPlaces("add");
    } else {
        records = recordsAtPlaces("delete");
        takeOut();
    }
    redone(std::move(records), target_.stamp());
    target_.stepChanged(StepChange::List, -1);
}

void ComponentListStep::undo() {
    kind_ == Kind::Added ? takeOut() : putIn();
    undone(target_.stamp());
    target_.stepChanged(StepChange::List, -1);
}
