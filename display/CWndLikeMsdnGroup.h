#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "display/CWndLikeMsdnItem.h"
#include "model/ComponentSummary.h"

// One component's row in the navigation pane, and while it is open the panel under it.
struct CWndLikeMsdnGroup {
    int height = 0;  // caption height plus, when open, its items' heights
    int flags = 0;   // bit 0: the mouse is over the caption row
    bool collapsed = true;
    std::vector<std::unique_ptr<CWndLikeMsdnItem>> items;
    QRect buttonRect;   // the round expand button, in content coordinates
    QRect captionRect;  // the caption row: the group's hit area
    ComponentSummary texts;

    // The texts as the screen shows them; converted when the row is first drawn.
    const std::array<QString, ComponentSummary::count>& shownTexts() const;
    void textsChanged() { shown_.reset(); }

private:
    mutable std::optional<std::array<QString, ComponentSummary::count>> shown_;
};
