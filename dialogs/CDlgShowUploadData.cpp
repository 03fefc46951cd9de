#include "dialogs/CDlgShowUploadData.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/CCheckListCtrl.h"
#include "dialogs/ComponentTableModel.h"
#include "dialogs/OkCancelButtons.h"

CDlgShowUploadData::CDlgShowUploadData(const ComponentList& components, int addMode,
                                       const QString& captionText, QWidget* parent)
    : QDialog(parent),
      components_(components),
      addMode_(addMode),
      captionText_(captionText.isEmpty() ? QStringLiteral("新工程") : captionText),
      componentModel_(new ComponentTableModel(components,
                                              addMode == 1
                                                  ? ComponentTableModel::Columns::UploadSelection
                                                  : ComponentTableModel::Columns::Selection,
                                              this)),
      pointModel_(new ComponentTableModel(components, ComponentTableModel::Columns::Points, this)),
      componentList_(new CCheckListCtrl(this)),
      pointList_(new CCheckListCtrl(this)) {
    setWindowTitle(captionText_);
    resize(605, 510);
    componentList_->setObjectName(QStringLiteral("list1015"));
    pointList_->setObjectName(QStringLiteral("list1016"));

    auto* componentLabel = new QLabel(QStringLiteral("构件列表:"), this);
    componentLabel->setBuddy(componentList_);
    auto* pointLabel = new QLabel(QStringLiteral("测点列表:"), this);
    pointLabel->setBuddy(pointList_);
    QDialogButtonBox* buttons = makeOkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(componentLabel);
    layout->addWidget(componentList_, 1);
    layout->addWidget(pointLabel);
    layout->addWidget(pointList_, 1);
    layout->addWidget(buttons);

    componentModel_->setCheckable(true);
    componentList_->setModel(componentModel_);
    componentList_->setSelectionMode(QAbstractItemView::SingleSelection);
    componentList_->InitCheckHeader();
    pointList_->setShownItem(0);
    pointModel_->showPointsOf(0);
    pointList_->setModel(pointModel_);
    componentModel_->applyColumnWidths(componentList_);
    pointModel_->applyColumnWidths(pointList_);

    // The first component's points are shown, so its row starts as the current one.
    if (componentModel_->rowCount() > 0) {
        componentList_->setCurrentIndex(componentModel_->index(0, 0));
    }
    connect(componentList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CDlgShowUploadData::onComponentSelected);
    componentList_->setFocus();
}

void CDlgShowUploadData::accept() {
    selection_ = componentModel_->selection();
    QDialog::accept();
}

void CDlgShowUploadData::onComponentSelected() {
    const QModelIndexList selected = componentList_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.first().row();
    if (row == pointList_->shownItem()) return;
    pointList_->setShownItem(row);
    pointModel_->showPointsOf(row);
}
