#pragma once

#include <QStyledItemDelegate>

// Edits a cell with a drop-down list of the texts its model offers under `choicesRole` (a
// QStringList); the chosen text is written back as Qt::EditRole. Cells without choices get
// the usual editor. GUI thread only.
class ChoiceDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ChoiceDelegate(int choicesRole, QObject* parent = nullptr);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

private:
    int choicesRole_;
};
