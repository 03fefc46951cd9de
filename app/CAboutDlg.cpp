#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/AppIcons.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("关于 Corvane"));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcons::program().pixmap(32, 32));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(QStringLiteral("Corvane1.0版"), this), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("钢筋位置测定仪数据处理软件"), this), 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("版权所有 (C) 2026 Corvane 开发组"), this), 2, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
    setFixedSize(sizeHint().expandedTo(QSize(317, 120)));
}
