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

    // Refuses a text GBK cannot hold (the message names the characters; the field gets the
    // focus and the dialog stays open); otherwise stores the four texts, each cut to its field.
    void accept() override;
    // After OK: what was cut ("工程名称超过 49 字节，已截短。"), empty when nothing was.
    const QString& cutNotice() const { return cutNotice_; }

private:
    ProjectInfo& projectInfo_;
    QLineEdit* projectNameEdit_;
    QLineEdit* testBasisEdit_;
    QLineEdit* testUnitEdit_;
    QLineEdit* instrumentEdit_;
    QTreeView* componentList_;
    QString cutNotice_;
};
