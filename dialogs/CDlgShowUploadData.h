#pragma once

#include <QDialog>
#include <QString>

#include "model/ComponentList.h"

class CCheckListCtrl;

// Lets the user tick components of a list (an upload's when adding, the project's when
// deleting or printing) and shows the points of the selected one. The list is only read, and
// must outlive the dialog; the caller reads selectionMask() after OK. GUI thread only.
class CDlgShowUploadData : public QDialog {
    Q_OBJECT
public:
    // addMode 1: components of an upload file, shown without names; 0: the project's own.
    // An empty captionText shows "新工程".
    CDlgShowUploadData(const ComponentList& components, int addMode, const QString& captionText,
                       QWidget* parent = nullptr);

    const ComponentList& components() const { return components_; }
    int addMode() const { return addMode_; }
    const QString& captionText() const { return captionText_; }
    // One '1' (ticked) or '0' per component, in list order; set by OK only.
    const QString& selectionMask() const { return selectionMask_; }

    CCheckListCtrl* componentList() const { return componentList_; }
    CCheckListCtrl* pointList() const { return pointList_; }

    void accept() override;

private:
    void onComponentSelected();
    void fillPointList(int row);

    const ComponentList& components_;
    int addMode_;
    QString captionText_;
    QString selectionMask_;
    CCheckListCtrl* componentList_;
    CCheckListCtrl* pointList_;
};
