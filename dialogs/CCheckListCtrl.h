#pragma once

#include <QList>
#include <QPixmap>
#include <QTreeView>

class CCheckHeadCtrl;

// A report-style list over a table model whose first column may carry check boxes, and whose
// first column header then carries a box kept in step with them: ticked exactly when no row
// is unticked (the model's header check state). Ticking the header box ticks or clears every
// row through the model's header data, in one change. GUI thread only.
class CCheckListCtrl : public QTreeView {
    Q_OBJECT
public:
    explicit CCheckListCtrl(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    int rowCount() const;
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);

    // Sets up the header box (empty box until rows say otherwise); idempotent. Returns 1.
    int InitCheckHeader();
    int headerReady() const { return headerReady_; }
    // 0 blank, 1 empty box (some row unticked), 2 ticked box.
    int headerImage() const;

    // Widens every column to its caption and its widest text, so that no value is elided;
    // never narrows one. Measures every row's text once.
    void widenColumnsToContents();
    // The rows the size hint holds whole, below the header and above a horizontal scroll bar
    // when its policy is always on; 0 leaves the hint as Qt gives it. The hint is as wide as
    // the columns with room for a vertical scroll bar.
    void setVisibleRows(int rows);
    int visibleRows() const { return visibleRows_; }
    // The height of one row, also before there is any.
    int rowHeight() const;
    QSize sizeHint() const override;

    // Not used by the control: the owner keeps an item index here.
    int shownItem() const { return shownItem_; }
    void setShownItem(int item) { shownItem_ = item; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void syncHeaderBox();

    int headerReady_ = 0;
    QList<QPixmap> checkImages_;
    CCheckHeadCtrl* header_;
    int shownItem_ = 0;
    int visibleRows_ = 0;
};
