#pragma once

#include <QDialog>

#include "model/ComponentList.h"
#include "model/ProjectInfo.h"

class QLineEdit;
class QTreeView;

// The project settings dialog (工程设置窗口): edits the four header texts in place on OK and
// lists the project's components read-only. Neither record is owned.
class CDlgSetProject : public QDialog {
    Q_OBJECT
public:
    CDlgSetProject(ProjectInfo& projectInfo, const ComponentList* components,
                   QWidget* parent = nullptr);

    QLineEdit* projectNameEdit() const { return projectNameEdit_; }
    QLineEdit* testBasisEdit() const { return testBasisEdit_; }
    QLineEdit* testUnitEdit() const { return testUnitEdit_; }
    QLineEdit* instrumentEdit() const { return instrumentEdit_; }
    QTreeView* componentList() const { return componentList_; }

    void accept() override;

private:
    ProjectInfo& projectInfo_;
    QLineEdit* projectNameEdit_;
    QLineEdit* testBasisEdit_;
    QLineEdit* testUnitEdit_;
    QLineEdit* instrumentEdit_;
    QTreeView* componentList_;
};
