#pragma once

#include <QString>
#include <optional>

#include "model/AcceptanceMark.h"
#include "model/ComponentList.h"
#include "model/ProjectInfo.h"
#include "session/ComponentChooser.h"

// What the project session needs of the window around it: the document window's title, the
// view's rebuild and the two dialogs it opens (the selection dialog through ComponentChooser).
// The main frame implements it; tests implement it without any window. GUI thread only.
class SessionUi : public ComponentChooser {
public:
    virtual ~SessionUi() = default;

    // The title of the active document window (the main window's when there is none).
    virtual QString documentTitle() const = 0;
    virtual void setDocumentTitle(const QString& title) = 0;
    // The main window's own title, which the close prompt names.
    virtual QString mainTitle() const = 0;

    // ModeMessage to the active view: rebuild for that type (Unknown: none).
    // Returns the view's answer, 0 when there is no view.
    virtual int sendModeMessage(DetectionType type) = 0;

    // Undo or redo changed the component at `index` of the project's list: its row and, when
    // it is open, its panel show it anew.
    virtual void componentChanged(int index) = 0;

    // The project settings dialog on `info`; the header changes only on OK.
    virtual void editProjectSettings(ProjectInfo& info, const ComponentList& components) = 0;

    // The 验收判定 dialog on `marks`: the marks after OK, nothing after Cancel. Unconfirmed
    // classes are shown as such; OK confirms them.
    virtual std::optional<AcceptanceMarks> editAcceptanceMarks(const ComponentList& components,
                                                               const AcceptanceMarks& marks,
                                                               bool confirmed) = 0;
};
