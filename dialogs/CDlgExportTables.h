#pragma once

#include <QDialog>
#include <QStringList>
#include <vector>

class QCheckBox;
class QAbstractButton;

// 导出 Excel: one check box per table the workbook can hold, all ticked at first; OK is grey
// while none is ticked.
class CDlgExportTables : public QDialog {
    Q_OBJECT
public:
    explicit CDlgExportTables(const QStringList& tables, QWidget* parent = nullptr);

    const std::vector<QCheckBox*>& boxes() const { return boxes_; }
    // One entry per table, true where it is ticked.
    std::vector<bool> ticked() const;

private:
    std::vector<QCheckBox*> boxes_;
    QAbstractButton* ok_ = nullptr;
};
