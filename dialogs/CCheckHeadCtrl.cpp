#include "dialogs/CCheckHeadCtrl.h"

#include <QIcon>
#include <QStyleOptionHeader>

CCheckHeadCtrl::CCheckHeadCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setDefaultAlignment(Qt::AlignCenter);
    setStretchLastSection(false);
    // Column order is fixed: section 0 must stay the check column.
    setSectionsMovable(false);
    connect(this, &QHeaderView::sectionClicked, this, &CCheckHeadCtrl::onSectionClicked);
}

void CCheckHeadCtrl::setImageList(const QList<QPixmap>& images) {
    images_ = images;
    setSectionsClickable(true);
    setImage(EmptyBox);
}

void CCheckHeadCtrl::setImage(int image) {
    if (image == image_) return;
    image_ = image;
    updateSection(0);
}

void CCheckHeadCtrl::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (logicalIndex == 0 && image_ > Blank && image_ < images_.size()) {
        option->icon = QIcon(images_[image_]);
        option->iconAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void CCheckHeadCtrl::onSectionClicked(int logicalIndex) {
    if (logicalIndex != 0 || images_.isEmpty() || !model()) return;
    const int next = image_ == EmptyBox ? TickedBox : EmptyBox;
    setImage(next);
    // The model ticks or clears all its rows in one change.
    model()->setHeaderData(0, Qt::Horizontal, next == TickedBox ? Qt::Checked : Qt::Unchecked,
                           Qt::CheckStateRole);
}
