#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/WheelAccumulator.h"
#include "display/CWndLikeMsdnGroup.h"
#include "model/ComponentSummary.h"

struct TableGeometry;

// The scrolling list of component groups inside the main view: one caption row per
// component in the columns of the summary table, at most one open group, which hosts the
// component panel directly under its row. GUI thread only.
class CWndLikeMsdn : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CWndLikeMsdn(QWidget* parent = nullptr);
    ~CWndLikeMsdn() override;

    // Appends a collapsed group with these texts; returns its index.
    int AddGroup(const ComponentSummary& summary);
    // Removes every group; an open group's window is hidden first.
    void RemoveAllGroups();
    // The window an open group hosts (the component panel); not owned.
    void setHostedWindow(QWidget* window);
    QWidget* hostedWindow() const { return hostedWindow_; }
    // Asked before a click opens or closes a row: false (the hosted window keeps an edit it
    // could not end) leaves every row as it is.
    void setLeaveCheck(std::function<bool()> check) { leaveCheck_ = std::move(check); }

    // Replaces the open group's texts with the first fifteen of `texts` and empties it.
    // Fewer than fifteen texts change nothing and return -1; otherwise returns 0.
    int SummaryUpdateMessage(std::vector<std::string>& texts);

    // The group's texts shown anew (a change made outside its panel).
    void setGroupTexts(int index, const ComponentSummary& summary);
    // Closes the open group, hiding the window it hosts.
    void closeOpenGroup();

    int groupCount() const { return static_cast<int>(groups_.size()); }
    const CWndLikeMsdnGroup& group(int index) const {
        return *groups_.at(static_cast<std::size_t>(index));
    }
    // The group toggled last, or -1.
    int openGroupIndex() const;
    int hoverGroupIndex() const;
    // The row the keys act on (a focus frame marks it while the pane has the focus), or -1.
    int selectedGroupIndex() const;
    // Selects row `index` (kept within the rows) and scrolls it into view.
    void selectGroup(int index);
    // Opens the row's panel, or closes it when it is open, as a click on the row does. False
    // when the hosted window kept an edit it could not end.
    bool toggleGroup(int index);
    // Height of one caption row: a window caption, or what the row font needs on this screen.
    int rowHeight() const;
    // Top of each group's row in content coordinates, and the whole content's height.
    int groupTop(int index);
    int contentHeight();
    // Lays the groups out now instead of at the next paint (tests, benchmarks).
    void ensureLayout();

signals:
    // The group at `index` opened: the hosted window is to show its component. Rows are told
    // apart by place, never by code, which two components may share.
    void SelectComponentMessage(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool viewportEvent(QEvent* event) override;

private:
    void invalidateLayout();
    void placeHostedWindow();
    void hitTest(const QPoint& viewportPos);
    void setHoverGroup(CWndLikeMsdnGroup* group);
    void updateRow(const CWndLikeMsdnGroup* group);
    void scrollBy(qint64 pixels);
    void closeGroup(CWndLikeMsdnGroup& group);
    void toggle(CWndLikeMsdnGroup& group);
    void drawGroup(QPainter& painter, CWndLikeMsdnGroup& group, int top, int width,
                   const TableGeometry& thicknessDiameter, const TableGeometry& profileGrid);
    int groupAt(int contentY) const;
    int indexOf(const CWndLikeMsdnGroup* group) const;
    // Scrolls so that content rows `top` to `bottom` show, `top` first when they do not fit.
    void scrollToShow(int top, int bottom);
    bool focusInHostedWindow() const;

    std::vector<std::unique_ptr<CWndLikeMsdnGroup>> groups_;
    std::vector<int> tops_;  // tops_[i]: top of group i; tops_.back(): content height
    bool layoutDirty_ = true;
    CWndLikeMsdnGroup* hoverGroup_ = nullptr;
    CWndLikeMsdnItem* hoverItem_ = nullptr;
    CWndLikeMsdnGroup* openGroup_ = nullptr;
    CWndLikeMsdnGroup* selected_ = nullptr;
    QPointer<QWidget> hostedWindow_;
    std::function<bool()> leaveCheck_;
    std::optional<QPoint> mouse_;  // where the mouse stands in the viewport, while it is there
    WheelAccumulator wheel_;
};
