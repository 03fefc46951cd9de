#include "display/CWndLikeMsdnGroup.h"

#include "session/GbkQt.h"

const std::array<QString, ComponentSummary::count>& CWndLikeMsdnGroup::shownTexts() const {
    if (!shown_) {
        shown_.emplace();
        for (std::size_t i = 0; i < ComponentSummary::count; ++i) {
            (*shown_)[i] = fromGbk(texts[i]);
        }
    }
    return *shown_;
}
