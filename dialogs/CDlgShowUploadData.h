#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "model/ComponentList.h"

class CCheckListCtrl;
class ComponentTableModel;
class QCheckBox;

// Lets the user tick components of a list (an upload's when adding, the project's when
// deleting or printing) and shows the points of the selected one. The list is only read, and
// must outlive the dialog; the caller reads selection() after OK. GUI thread only.
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
    // One entry per component, in list order, true where ticked; set by OK only.
    const std::vector<bool>& selection() const { return selection_; }

    // The print selection: the check box "标出修改过的数值" above the buttons, ticked as given.
    void offerMarkEdits(bool ticked);
    // Its state as OK left it; false without the box.
    bool markEdits() const { return markEdits_; }

    CCheckListCtrl* componentList() const { return componentList_; }
    CCheckListCtrl* pointList() const { return pointList_; }

    // Sizes the dialog, window frame included, for a screen whose available area is
    // `available`: every column whole where the screen has room, each list a whole number of
    // rows; the constructor does so for the screen it opens on.
    void fitTo(const QSize& available);

    void accept() override;

private:
    void onComponentSelected();

    const ComponentList& components_;
    int addMode_;
    QString captionText_;
    std::vector<bool> selection_;
    ComponentTableModel* componentModel_;
    ComponentTableModel* pointModel_;
    CCheckListCtrl* componentList_;
    CCheckListCtrl* pointList_;
    QCheckBox* markEditsBox_ = nullptr;
    bool markEdits_ = false;
};
