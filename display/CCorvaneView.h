#pragma once

#include <QWidget>

class CWndLikeMsdn;
class Project;

// The one view of the document window. It lists the open project's components of one
// detection type (the view mode) as a table: the caption band, then the navigation pane with
// one group per component. The frame tells it the mode through ModeMessage. The project
// belongs to the main frame; the view only reads it.
class CCorvaneView : public QWidget {
    Q_OBJECT
public:
    explicit CCorvaneView(const Project& project, QWidget* parent = nullptr);

    // Rebuilds the list for the mode whose letter is the first character of `modeText`
    // (none for an empty text). Returns 1, or 0 when no project is open.
    int ModeMessage(const QString& modeText);
    // The component at `index` of the project's list changed from outside the panel (undo,
    // redo): its row shows its summary anew.
    void componentChanged(int index);
    // Passed on to the component panel while a component is open; return 0.
    int AddPointMessage(int wParam = 0, int lParam = 0);
    int DeletePointMessage(int wParam = 0, int lParam = 0);

    // Height of the caption band, where the pane starts: 35 pixels, or what the band's font
    // needs on this screen.
    int headerHeight() const;
    // 'H', 'Z', 'W', 'P', or 0 for none.
    char shownType() const { return shownType_; }
    CWndLikeMsdn* pane() const { return pane_; }
    QWidget* panel() const { return panel_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    const Project& project_;
    CWndLikeMsdn* pane_;
    QWidget* panel_;
    char shownType_ = 0;
};
