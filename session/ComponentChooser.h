#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "model/ComponentList.h"

// The component selection dialog, as the commands that let the user tick components see it.
// The main frame shows the real dialog; tests answer from a script. GUI thread only.
class ComponentChooser {
public:
    virtual ~ComponentChooser() = default;

    // One entry per component of `components`, true where the user ticked it; nothing when
    // the dialog was cancelled. addMode 1 lists an upload's components (without names), 0 the
    // project's own. An empty caption leaves the dialog's own.
    virtual std::optional<std::vector<bool>> chooseComponents(const ComponentList& components,
                                                              int addMode,
                                                              const QString& caption) = 0;

    // The selection of a record table's print: the project's components with the check box
    // "标出修改过的数值", shown as `markEdits` and set to what the user left. Without the box
    // (a chooser that has none) the marks stay as they were.
    virtual std::optional<std::vector<bool>> choosePrintComponents(const ComponentList& components,
                                                                   const QString& caption,
                                                                   bool& markEdits) {
        (void)markEdits;
        return chooseComponents(components, 0, caption);
    }
};
