#pragma once

#include <QImage>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "display/ChartGeometry.h"
#include "document/ComponentEditor.h"

class CPropertyGrid;
struct PanelGridRow;
class CRectItem;
class Prompter;
class QMenu;

// The panel under an open row of the navigation pane: the chart of the component's points
// on the left, its name, design values, tolerances and points in a property grid on the
// right. It keeps no copy of the component: it names it by its place in the project's list
// and stores every change through the ComponentEditor. GUI thread only.
class CDlgComponent : public QWidget {
    Q_OBJECT
public:
    // Neither is owned; both must outlive the panel. Without a prompter 保存图表… is not offered.
    CDlgComponent(ComponentEditor& editor, Prompter* prompter, QWidget* parent = nullptr);
    ~CDlgComponent() override;

    // Opens the component at `index` of the project's list. False, and the panel as it was,
    // when there is none.
    bool SelectComponentMessage(int index);
    // Shows no component any more (its row closed or the list was rebuilt).
    void closeComponent();
    // The open component changed (an edit stored through the editor, its undo or redo): grid
    // and chart show it anew. Closes the panel's content when the component is gone.
    void refresh();
    int componentIndex() const { return index_; }
    const Component* component() const;

    // 增加测点 and 删除测点 as the view passes them on. A point that cannot be added is told
    // in the status bar.
    void AddPoint();
    void DeletePoint();
    // Ends an open edit of the grid as Enter would, before any other command; false when the
    // grid refused the typed value (told to the user), and the command must not go on.
    bool finishEdit();

    // The display scale f: the strip is 120 × f + 1 wide and the grid's font is that of a
    // screen 1440 × f wide, the chart as large as that font (see ChartArea). 0 (the default)
    // follows the screen. The panel keeps its size.
    void setDisplayScale(float f);
    int stripWidth() const;
    // The strip's width at a display scale.
    static int stripWidthAt(float scale);
    ChartArea chartArea() const;
    // The part of the panel the chart covers with its captions, and that part as a picture.
    QRect chartRect() const;
    QImage chartImage() const;
    // 复制图表 and 保存图表…; the save reports a failure to the user and returns false.
    void copyChart();
    bool saveChart();
    // The chart's context menu, owned by the caller; null where no chart is.
    std::unique_ptr<QMenu> chartMenu(const QPoint& pos);

    CPropertyGrid* grid() const { return grid_; }
    // Grid section ids of the point results; -1 when there is none.
    int resultsSection() const { return mainSection_; }
    int verticalResultsSection() const { return verticalSection_; }
    // The point an item of the grid shows; none for an item that shows no point.
    std::optional<PointRef> pointOfItem(int itemId) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // ItemChangedNotification of the grid: the edited item's value goes to the editor.
    void onItemChanged(int itemId);
    void fillGrid();
    // The tooltip of a row whose value was changed (OriginText); empty for one that was not.
    QString originTip(const Component& c, const PanelGridRow& row) const;
    void refill();
    void tellStatus(const QString& text);
    void placeGrid();
    void paintChart(QPainter& painter) const;

    ComponentEditor& editor_;
    Prompter* prompter_;
    CPropertyGrid* grid_;
    int index_ = -1;
    float scale_ = 0;
    std::vector<std::unique_ptr<CRectItem>> pointItems_;  // the grid shows, never owns them
    int mainSection_ = -1;
    int verticalSection_ = -1;
};
