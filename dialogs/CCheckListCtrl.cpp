#include "dialogs/CCheckListCtrl.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>

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
    : QTreeView(parent), header_(new CCheckHeadCtrl(this)) {
    setHeader(header_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void CCheckListCtrl::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model()) old->disconnect(this);
    QTreeView::setModel(model);
    if (!model) return;
    connect(model, &QAbstractItemModel::headerDataChanged, this, &CCheckListCtrl::syncHeaderBox);
    connect(model, &QAbstractItemModel::modelReset, this, &CCheckListCtrl::syncHeaderBox);
    connect(model, &QAbstractItemModel::rowsInserted, this, &CCheckListCtrl::syncHeaderBox);
    connect(model, &QAbstractItemModel::rowsRemoved, this, &CCheckListCtrl::syncHeaderBox);
    syncHeaderBox();
}

int CCheckListCtrl::rowCount() const {
    return model() ? model()->rowCount() : 0;
}

bool CCheckListCtrl::isChecked(int row) const {
    return model() && model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void CCheckListCtrl::setChecked(int row, bool checked) {
    if (model()) {
        model()->setData(model()->index(row, 0), checked ? Qt::Checked : Qt::Unchecked,
                         Qt::CheckStateRole);
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

void CCheckListCtrl::widenColumnsToContents() {
    QAbstractItemModel* m = model();
    if (!m) return;
    const QFontMetrics fm = fontMetrics();
    for (int column = 0; column < m->columnCount(); ++column) {
        // The widest text picks the row; the delegate then adds its margins and check box.
        int widestRow = -1;
        int widest = -1;
        for (int row = 0; row < m->rowCount(); ++row) {
            const int width = fm.horizontalAdvance(m->index(row, column).data().toString());
            if (width > widest) {
                widest = width;
                widestRow = row;
            }
        }
        int width = std::max(columnWidth(column), header()->sectionSizeHint(column));
        if (widestRow >= 0) {
            width = std::max(width, sizeHintForIndex(m->index(widestRow, column)).width());
        }
        setColumnWidth(column, width);
    }
}

void CCheckListCtrl::setVisibleRows(int rows) {
    visibleRows_ = rows;
    updateGeometry();
}

int CCheckListCtrl::rowHeight() const {
    if (model() && model()->rowCount() > 0) {
        if (const int measured = QTreeView::rowHeight(model()->index(0, 0))) return measured;
    }
    // Before any row, the height the delegate gives a row of one text, as the point lists
    // have; the view measures real rows the same way.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("0");
    return style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
}

QSize CCheckListCtrl::sizeHint() const {
    if (visibleRows_ <= 0) return QTreeView::sizeHint();
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const bool underBar = horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
    return QSize(
        header()->length() + bar + frame,
        header()->sizeHint().height() + visibleRows_ * rowHeight() + (underBar ? bar : 0) + frame);
}

void CCheckListCtrl::keyPressEvent(QKeyEvent* event) {
    // Space toggles the row's box whichever cell of the row is current.
    const QModelIndex current = currentIndex();
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Select) && current.isValid() &&
        event->modifiers() == Qt::NoModifier) {
        const QModelIndex box = current.siblingAtColumn(0);
        if (box.flags() & Qt::ItemIsUserCheckable) {
            model()->setData(
                box,
                box.data(Qt::CheckStateRole).toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked,
                Qt::CheckStateRole);
            event->accept();
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CCheckListCtrl::syncHeaderBox() {
    // An empty list keeps whatever its header clicks made of the box.
    if (headerReady_ != 1 || rowCount() == 0) return;
    const bool ticked =
        model()->headerData(0, Qt::Horizontal, Qt::CheckStateRole).toInt() == Qt::Checked;
    header_->setImage(ticked ? CCheckHeadCtrl::TickedBox : CCheckHeadCtrl::EmptyBox);
}
