#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "model/DetectionType.h"

class CDlgComponent;
class CWndLikeMsdn;
class ComponentEditor;
class Project;
class Prompter;
class ReadOnlyComponents;

// The one view of the document window. It lists the open project's components of one
// detection type (the view mode) as a table: the caption band, then the navigation pane with
// one group per component. The frame tells it the mode through ModeMessage. The project
// belongs to the main frame; the view only reads it.
class CCorvaneView : public QWidget {
    Q_OBJECT
public:
    // The open row's panel stores its changes through `editor` and asks for file names
    // through `prompter`; without an editor the panel only shows. None is owned.
    explicit CCorvaneView(const Project& project, ComponentEditor* editor = nullptr,
                          Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~CCorvaneView() override;

    // Rebuilds the list for the mode whose letter is the first character of `modeText`
    // (none for an empty text). Returns 1, or 0 when no project is open.
    int ModeMessage(const QString& modeText);
    // The same for a type; Unknown shows none.
    int ModeMessage(DetectionType type);
    // The component at `index` of the project's list changed (the step's notice of an edit,
    // an undo or a redo): its row shows its summary anew and an open panel on it is filled
    // again; the panel closes when the component is gone.
    void componentChanged(int index);
    // Passed on to the component panel while a component is open; return 0.
    int AddPointMessage(int wParam = 0, int lParam = 0);
    int DeletePointMessage(int wParam = 0, int lParam = 0);
    // Ends an edit open in the panel before a command; false when the typed value was refused
    // (the user was told) and the command must not go on.
    bool finishEdit();

    // Height of the caption band, where the pane starts: 35 pixels, or what the band's font
    // needs on this screen.
    int headerHeight() const;
    // The type whose components are listed; Unknown for none.
    DetectionType shownType() const { return shownType_; }
    CWndLikeMsdn* pane() const { return pane_; }
    CDlgComponent* panel() const { return panel_; }
    // The place in the project's list of the component each row shows.
    const std::vector<int>& rowComponents() const { return rows_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool panelOpen() const;

    const Project& project_;
    std::unique_ptr<ReadOnlyComponents> readOnly_;
    CWndLikeMsdn* pane_;
    CDlgComponent* panel_;
    std::vector<int> rows_;
    DetectionType shownType_ = DetectionType::Unknown;
};
