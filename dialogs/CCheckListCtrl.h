#pragma once

#include <QList>
#include <QPixmap>
#include <QStringList>
#include <QTreeWidget>

class CCheckHeadCtrl;

// A report-style list whose rows may carry check boxes and whose first column header carries a
// box kept in step with them: ticked exactly when no row is unticked. A row without a check
// state counts as not unticked. GUI thread only.
class CCheckListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CCheckListCtrl(QWidget* parent = nullptr);

    // Appends a column; its cells take the header's alignment.
    void addColumn(const QString& title, int width, Qt::Alignment alignment = Qt::AlignCenter);
    // Appends a row of cell texts and returns its index.
    int addRow(const QStringList& texts);
    int rowCount() const { return topLevelItemCount(); }

    // From now on every row, present or added later, carries a check box (unticked).
    void enableCheckBoxes();
    bool isChecked(int row) const;
    void setChecked(int row, bool checked);

    // Sets up the header box (empty box until rows say otherwise); idempotent. Returns 1.
    int InitCheckHeader();
    int headerReady() const { return headerReady_; }
    // 0 blank, 1 empty box (some row unticked), 2 ticked box.
    int headerImage() const;

    // Not used by the control: the owner keeps an item index here.
    int shownItem() const { return shownItem_; }
    void setShownItem(int item) { shownItem_ = item; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onRowsInserted(const QModelIndex& parent, int first, int last);
    void syncHeaderBox();

    int headerReady_ = 0;
    QList<QPixmap> checkImages_;
    CCheckHeadCtrl* header_;
    int shownItem_ = 0;
    bool checkBoxes_ = false;
};
