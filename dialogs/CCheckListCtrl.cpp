#include "dialogs/CCheckListCtrl.h"

#include <QKeyEvent>
#include <QPainter>

#include "dialogs/CCheckHeadCtrl.h"

namespace {

// Blank, empty box and ticked box, 16 x 16 on a transparent background.
QList<QPixmap> drawCheckImages() {
    QList<QPixmap> images;
    for (int i = 0; i < 3; ++i) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        if (i > 0) {
            QPainter p(&pixmap);
            p.setPen(QColor(0x33, 0x33, 0x33));
            p.setBrush(Qt::white);
            p.drawRect(1, 1, 13, 13);
            if (i == 2) {
                p.setRenderHint(QPainter::Antialiasing);
                p.setPen(QPen(QColor(0x10, 0x10, 0x10), 2.0, Qt::SolidLine, Qt::RoundCap,
                              Qt::RoundJoin));
                const QPointF tick[] = {{4.0, 8.0}, {7.0, 11.0}, {12.0, 4.5}};
                p.drawPolyline(tick, 3);
            }
        }
        images << pixmap;
    }
    return images;
}

}  // namespace

CCheckListCtrl::CCheckListCtrl(QWidget* parent)
    : QTreeWidget(parent), header_(new CCheckHeadCtrl(this)) {
    setHeader(header_);
    setColumnCount(0);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles.isEmpty() || roles.contains(Qt::CheckStateRole)) syncHeaderBox();
            });
    connect(model(), &QAbstractItemModel::rowsInserted, this, &CCheckListCtrl::onRowsInserted);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, &CCheckListCtrl::syncHeaderBox);
}

void CCheckListCtrl::addColumn(const QString& title, int width, Qt::Alignment alignment) {
    const int column = columnCount();
    setColumnCount(column + 1);
    headerItem()->setText(column, title);
    headerItem()->setData(column, Qt::TextAlignmentRole, QVariant::fromValue(alignment));
    setColumnWidth(column, width);
}

int CCheckListCtrl::addRow(const QStringList& texts) {
    auto* item = new QTreeWidgetItem(texts);
    for (int column = 0; column < columnCount(); ++column) {
        item->setData(column, Qt::TextAlignmentRole,
                      headerItem()->data(column, Qt::TextAlignmentRole));
    }
    addTopLevelItem(item);
    return indexOfTopLevelItem(item);
}

void CCheckListCtrl::enableCheckBoxes() {
    checkBoxes_ = true;
    if (rowCount() > 0) onRowsInserted(QModelIndex(), 0, rowCount() - 1);
}

bool CCheckListCtrl::isChecked(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && item->data(0, Qt::CheckStateRole).toInt() == Qt::Checked;
}

void CCheckListCtrl::setChecked(int row, bool checked) {
    if (QTreeWidgetItem* item = topLevelItem(row)) {
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

int CCheckListCtrl::InitCheckHeader() {
    if (headerReady_ == 1) return 1;
    checkImages_ = drawCheckImages();
    header_->setImageList(checkImages_);
    headerReady_ = 1;
    syncHeaderBox();
    return 1;
}

int CCheckListCtrl::headerImage() const {
    return header_->image();
}

void CCheckListCtrl::keyPressEvent(QKeyEvent* event) {
    // Space toggles the row's box whichever cell of the row is current.
    QTreeWidgetItem* item = currentItem();
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) && item &&
        event->modifiers() == Qt::NoModifier && item->data(0, Qt::CheckStateRole).isValid() &&
        (item->flags() & Qt::ItemIsUserCheckable)) {
        item->setCheckState(0, item->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void CCheckListCtrl::onRowsInserted(const QModelIndex& parent, int first, int last) {
    if (checkBoxes_ && !parent.isValid()) {
        for (int row = first; row <= last; ++row) {
            QTreeWidgetItem* item = topLevelItem(row);
            if (!item->data(0, Qt::CheckStateRole).isValid()) item->setCheckState(0, Qt::Unchecked);
        }
    }
    syncHeaderBox();
}

void CCheckListCtrl::syncHeaderBox() {
    // An empty list keeps whatever its header clicks made of the box.
    if (headerReady_ != 1 || rowCount() == 0) return;
    bool unticked = false;
    for (int row = 0; row < rowCount() && !unticked; ++row) {
        const QVariant state = topLevelItem(row)->data(0, Qt::CheckStateRole);
        unticked = state.isValid() && state.toInt() != Qt::Checked;
    }
    header_->setImage(unticked ? CCheckHeadCtrl::EmptyBox : CCheckHeadCtrl::TickedBox);
}
