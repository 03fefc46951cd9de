#include "model/ComponentList.h"

namespace {

// True when a new component of letter t belongs before an existing one of letter u.
bool goesBefore(char t, char u) {
    switch (t) {
        case 'H':
            return u != 'H';
        case 'Z':
            return u != 'H' && u != 'Z';
        case 'W':
            return u != 'H' && u != 'Z' && u != 'W';
        default:
            return false;
    }
}

}  // namespace

ComponentList::iterator insertComponent(ComponentList& list, Component component) {
    const char t = component.code.front();
    auto at = list.end();
    if (t != 'P') {
        for (auto it = list.begin(); it != list.end(); ++it) {
            if (goesBefore(t, it->code.front())) {
                at = it;
                break;
            }
        }
    }
    return list.insert(at, std::move(component));
}
