#include "display/CRectItem.h"

#include <QPainter>

#include "controls/CPropertyGrid.h"
#include "dialogs/CDlgEdit.h"

CRectItem::CRectItem(DetectionType type, std::int32_t diameter, std::int32_t thickness,
                     std::int32_t position)
    : type_(type), diameter_(diameter), thickness_(thickness), position_(position) {}

QString CRectItem::text() const {
    const DetectionTypeTraits* traits = traitsOf(type_);
    const std::int32_t second = traits && traits->diameters ? diameter_ : position_;
    return QStringLiteral("%1 mm ; %2 mm").arg(thickness_).arg(second);
}

void CRectItem::drawValue(QPainter& painter, const QRect& rect, bool) {
    const QString shown =
        painter.fontMetrics().elidedText(text(), Qt::ElideRight, rect.width(), Qt::TextSingleLine);
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

bool CRectItem::editInOwnDialog() {
    CDlgEdit dialog(type_, diameter_, thickness_, position_, grid());
    if (dialog.exec() != QDialog::Accepted) return false;
    diameter_ = dialog.diameter();
    thickness_ = dialog.thickness();
    position_ = dialog.position();
    return true;
}
