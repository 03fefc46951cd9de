#include "dialogs/CDlgShowUploadData.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/CCheckListCtrl.h"
#include "dialogs/ComponentTableModel.h"
#include "dialogs/OkCancelButtons.h"
#include "dialogs/ScreenRoom.h"

namespace {

// Rows each list shows whole when the screen has room, and the fewest on a small one.
constexpr int componentRows = 12;
constexpr int pointRows = 10;
constexpr int leastRows = 3;
// The width the dialog always had: a narrow list still leaves the title (a file's path) room.
constexpr int leastWidth = 605;

}  // namespace

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
    // No stretch: each list gets its size hint (whole rows), and what the user adds is shared.
    layout->addWidget(componentList_);
    layout->addWidget(pointLabel);
    layout->addWidget(pointList_);
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
    componentList_->widenColumnsToContents();
    pointList_->widenColumnsToContents();

    // The first component's points are shown, so its row starts as the current one.
    if (componentModel_->rowCount() > 0) {
        componentList_->setCurrentIndex(componentModel_->index(0, 0));
    }
    connect(componentList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CDlgShowUploadData::onComponentSelected);
    componentList_->setFocus();

    if (const QScreen* s = parent ? parent->screen() : screen()) {
        fitTo(s->availableGeometry().size());
    } else {
        fitTo(QSize(1920, 1080));
    }
}

void CDlgShowUploadData::offerMarkEdits(bool ticked) {
    if (!markEditsBox_) {
        markEditsBox_ = new QCheckBox(QStringLiteral("标出修改过的数值"), this);
        markEditsBox_->setObjectName(QStringLiteral("checkMarkEdits"));
        auto* box = static_cast<QVBoxLayout*>(layout());
        box->insertWidget(box->count() - 1, markEditsBox_);
        const QScreen* s = parentWidget() ? parentWidget()->screen() : screen();
        fitTo(s ? s->availableGeometry().size() : QSize(1920, 1080));
    }
    markEditsBox_->setChecked(ticked);
}

void CDlgShowUploadData::fitTo(const QSize& available) {
    const QSize room = screenRoom(available, expectedFrame(parentWidget()));
    int rows[] = {componentRows, pointRows};
    CCheckListCtrl* lists[] = {componentList_, pointList_};
    auto wanted = [&](bool sideways) {
        for (int i = 0; i < 2; ++i) {
            lists[i]->setHorizontalScrollBarPolicy(sideways ? Qt::ScrollBarAlwaysOn
                                                            : Qt::ScrollBarAsNeeded);
            lists[i]->setVisibleRows(rows[i]);
        }
        layout()->activate();
        return layout()->sizeHint();
    };
    // Only a screen too narrow for the columns scrolls them; the rows stay whole above the bar.
    const bool sideways = wanted(false).width() > room.width();
    QSize size = wanted(sideways);
    // A low screen takes rows from the components first, then from the points.
    for (int i = 0; i < 2 && size.height() > room.height(); ++i) {
        const int step = lists[i]->rowHeight();
        const int fewer = (size.height() - room.height() + step - 1) / step;
        rows[i] = std::max(leastRows, rows[i] - fewer);
        size = wanted(sideways);
    }
    resize(std::min(std::max(size.width(), leastWidth), room.width()), size.height());
}

void CDlgShowUploadData::accept() {
    selection_ = componentModel_->selection();
    markEdits_ = markEditsBox_ && markEditsBox_->isChecked();
    QDialog::accept();
}

void CDlgShowUploadData::onComponentSelected() {
    const QModelIndexList selected = componentList_->selectionModel()->selectedRows();
    if (selected.isEmpty()) return;
    const int row = selected.first().row();
    if (row == pointList_->shownItem()) return;
    pointList_->setShownItem(row);
    pointModel_->showPointsOf(row);
    pointList_->widenColumnsToContents();
}
