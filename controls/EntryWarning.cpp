#include "controls/EntryWarning.h"

#include <QMessageBox>

void showEntryWarning(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("提示信息"), text, QMessageBox::NoButton,
                    parent);
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
}
