#include "dialogs/ChoiceDelegate.h"

#include <QComboBox>
#include <algorithm>

ChoiceDelegate::ChoiceDelegate(int choicesRole, QObject* parent)
    : QStyledItemDelegate(parent), choicesRole_(choicesRole) {}

QWidget* ChoiceDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    const QStringList choices = index.data(choicesRole_).toStringList();
    if (choices.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
    auto* combo = new QComboBox(parent);
    combo->addItems(choices);
    // A pick is the whole edit: write it and close, so one click or Enter is enough.
    auto* self = const_cast<ChoiceDelegate*>(this);
    connect(combo, &QComboBox::activated, self, [self, combo] {
        emit self->commitData(combo);
        emit self->closeEditor(combo);
    });
    return combo;
}

void ChoiceDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) return QStyledItemDelegate::setEditorData(editor, index);
    combo->setCurrentIndex(std::max(0, combo->findText(index.data(Qt::EditRole).toString())));
}

void ChoiceDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (!combo) return QStyledItemDelegate::setModelData(editor, model, index);
    model->setData(index, combo->currentText(), Qt::EditRole);
}
