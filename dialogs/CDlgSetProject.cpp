#include "dialogs/CDlgSetProject.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "dialogs/ComponentRowTexts.h"
#include "dialogs/GbkQt.h"
#include "dialogs/OkCancelButtons.h"

CDlgSetProject::CDlgSetProject(ProjectInfo& projectInfo, const ComponentList* components,
                               QWidget* parent)
    : QDialog(parent), projectInfo_(projectInfo) {
    setWindowTitle(QStringLiteral("工程设置窗口"));
    resize(614, 510);

    auto makeEdit = [this](const char* objectName) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(objectName));
        return edit;
    };
    projectNameEdit_ = makeEdit("edit1018");
    testBasisEdit_ = makeEdit("edit1021");
    testUnitEdit_ = makeEdit("edit1020");
    instrumentEdit_ = makeEdit("edit1017");
    componentList_ = new QTreeWidget(this);
    componentList_->setObjectName(QStringLiteral("list1015"));

    auto* grid = new QGridLayout(this);
    const std::pair<const char*, QWidget*> rows[] = {
        {"工程名称", projectNameEdit_}, {"检测依据", testBasisEdit_}, {"检测单位", testUnitEdit_},
        {"仪器型号", instrumentEdit_},  {"构件列表", componentList_},
    };
    int row = 0;
    for (const auto& [label, widget] : rows) {
        auto* l = new QLabel(QString::fromUtf8(label), this);
        l->setBuddy(widget);
        grid->addWidget(l, row, 0, Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(widget, row++, 1);
    }
    QDialogButtonBox* buttons = makeOkCancelButtons(this);
    grid->addWidget(buttons, row, 0, 1, 2);
    grid->setRowStretch(4, 1);

    projectNameEdit_->setText(fromGbk(projectInfo.projectName.view()));
    testUnitEdit_->setText(fromGbk(projectInfo.testUnit.view()));
    instrumentEdit_->setText(fromGbk(projectInfo.instrument.view()));
    testBasisEdit_->setText(fromGbk(projectInfo.testBasis.view()));

    const QStringList headers{QStringLiteral("序号"),     QStringLiteral("构件编号"),
                              QStringLiteral("构件名称"), QStringLiteral("检测类型"),
                              QStringLiteral("日期"),     QStringLiteral("测点数")};
    const int widths[] = {50, 80, 100, 80, 80, 80};
    componentList_->setColumnCount(static_cast<int>(headers.size()));
    componentList_->setHeaderLabels(headers);
    componentList_->setRootIsDecorated(false);
    componentList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    componentList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    componentList_->header()->setDefaultAlignment(Qt::AlignCenter);
    componentList_->header()->setStretchLastSection(false);
    for (int i = 0; i < headers.size(); ++i) componentList_->setColumnWidth(i, widths[i]);

    if (components) {
        int r = 0;
        QList<QTreeWidgetItem*> items;
        for (const Component& c : *components) {
            auto* item = new QTreeWidgetItem(QStringList{
                QString::number(++r), fromGbk(c.code.view()), fromGbk(c.name.view()),
                rowtext::typeText(c), fromGbk(c.date.view()), rowtext::pointCountText(c)});
            for (int i = 0; i < headers.size(); ++i) item->setTextAlignment(i, Qt::AlignCenter);
            items << item;
        }
        componentList_->addTopLevelItems(items);
    }
    projectNameEdit_->setFocus();
}

void CDlgSetProject::accept() {
    // Each text is cut to its field at a character boundary by the field itself.
    projectInfo_.projectName.assign(toGbk(projectNameEdit_->text()));
    projectInfo_.testBasis.assign(toGbk(testBasisEdit_->text()));
    projectInfo_.testUnit.assign(toGbk(testUnitEdit_->text()));
    projectInfo_.instrument.assign(toGbk(instrumentEdit_->text()));
    QDialog::accept();
}
