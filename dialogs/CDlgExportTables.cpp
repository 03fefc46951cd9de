#include "dialogs/CDlgExportTables.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/OkCancelButtons.h"

CDlgExportTables::CDlgExportTables(const QStringList& tables, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("导出 Excel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("每个选中的记录表导出为工作簿中的一个工作表："), this));
    for (const QString& title : tables) {
        auto* box = new QCheckBox(title, this);
        box->setChecked(true);
        layout->addWidget(box);
        boxes_.push_back(box);
    }
    QDialogButtonBox* buttons = makeOkCancelButtons(this);
    layout->addWidget(buttons);
    for (QAbstractButton* b : buttons->buttons()) {
        if (buttons->buttonRole(b) == QDialogButtonBox::AcceptRole) ok_ = b;
    }
    for (QCheckBox* box : boxes_) {
        connect(box, &QCheckBox::toggled, this, [this] {
            const auto ticked = this->ticked();
            ok_->setEnabled(std::find(ticked.begin(), ticked.end(), true) != ticked.end());
        });
    }
}

std::vector<bool> CDlgExportTables::ticked() const {
    std::vector<bool> ticked;
    for (const QCheckBox* box : boxes_) ticked.push_back(box->isChecked());
    return ticked;
}
