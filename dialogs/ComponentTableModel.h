#pragma once

#include <QAbstractTableModel>
#include <vector>

class QTreeView;

#include "model/ComponentList.h"

// The components of a list, or the points of one of them, as table rows for the dialogs'
// lists, with optional check boxes in the first column. The list is only read and must
// outlive the model. The first column's header answers Qt::CheckStateRole with Checked
// exactly when no row is unticked, and setting it ticks or clears every row at once: the
// header box of CCheckListCtrl rests on that. GUI thread only.
class ComponentTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Columns {
        Settings,  // the settings dialog: 序号 构件编号 构件名称 检测类型 日期 测点数
        Selection,        // the selection dialog: … 日期 钢筋直径 测点数
        UploadSelection,  // the same for an upload's components, whose names stay empty
        Points,  // the points of one component: 序号 钢筋直径 保护层厚度 配筋间距
    };

    ComponentTableModel(const ComponentList& components, Columns columns,
                        QObject* parent = nullptr);

    // Rows carry an unticked box from now on.
    void setCheckable(bool checkable);
    bool checkable() const { return checkable_; }
    // One entry per row, true where ticked.
    const std::vector<bool>& selection() const { return ticked_; }
    void setChecked(int row, bool checked);
    bool isChecked(int row) const;

    // Points: which component's points are the rows (its horizontal, then vertical points).
    void showPointsOf(int componentIndex);
    int shownComponent() const { return shown_; }

    // The column widths in pixels, as the dialogs set them.
    int columnWidth(int column) const;
    void applyColumnWidths(QTreeView* view) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString componentText(const Component& c, int row, int column) const;
    QString pointText(int row, int column) const;
    const Component* componentAt(int row) const;
    void tickedChanged(int first, int last);

    const ComponentList& components_;
    Columns columns_;
    // Rows by index without walking the list each time.
    std::vector<const Component*> rows_;
    int shown_ = 0;
    bool checkable_ = false;
    std::vector<bool> ticked_;
    int tickedCount_ = 0;
};
