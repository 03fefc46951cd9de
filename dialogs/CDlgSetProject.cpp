#include "dialogs/CDlgSetProject.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "controls/EntryWarning.h"
#include "dialogs/ComponentTableModel.h"
#include "dialogs/OkCancelButtons.h"
#include "model/StoredText.h"
#include "session/GbkQt.h"

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
    componentList_ = new QTreeView(this);
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

    componentList_->setRootIsDecorated(false);
    componentList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    componentList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    componentList_->header()->setStretchLastSection(false);
    // Without components the list stays empty.
    static const ComponentList none;
    auto* model = new ComponentTableModel(components ? *components : none,
                                          ComponentTableModel::Columns::Settings, this);
    componentList_->setModel(model);
    model->applyColumnWidths(componentList_);
    projectNameEdit_->setFocus();
}

void CDlgSetProject::accept() {
    struct Field {
        const char* label;
        QLineEdit* edit;
        std::size_t capacity;
    };
    const Field fields[] = {
        {"工程名称", projectNameEdit_, projectInfo_.projectName.capacity},
        {"检测依据", testBasisEdit_, projectInfo_.testBasis.capacity},
        {"检测单位", testUnitEdit_, projectInfo_.testUnit.capacity},
        {"仪器型号", instrumentEdit_, projectInfo_.instrument.capacity},
    };
    cutNotice_.clear();
    for (const Field& f : fields) {
        const std::string text = f.edit->text().toStdString();
        const Status storable = storedText::checkStorable(f.label, text);
        if (!storable) {
            showEntryWarning(this, QString::fromStdString(storable.message()));
            f.edit->setFocus();
            return;
        }
        if (storedText::isCut(text, f.capacity)) {
            cutNotice_ += QString::fromStdString(storedText::cutNotice(f.label, f.capacity));
        }
    }
    // Each text is cut to its field at a character boundary by the field itself.
    projectInfo_.projectName.assign(toGbk(projectNameEdit_->text()));
    projectInfo_.testBasis.assign(toGbk(testBasisEdit_->text()));
    projectInfo_.testUnit.assign(toGbk(testUnitEdit_->text()));
    projectInfo_.instrument.assign(toGbk(instrumentEdit_->text()));
    QDialog::accept();
}
