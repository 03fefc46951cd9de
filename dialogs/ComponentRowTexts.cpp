#include "dialogs/ComponentRowTexts.h"

namespace rowtext {

QString typeText(const Component& c) {
    const auto text = displayText(c.type());
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString pointCountText(const Component& c) {
    if (c.hasVerticalList()) {
        return QStringLiteral("%1 , %2").arg(c.pointCount).arg(c.pointCountVert);
    }
    return QString::number(c.pointCount);
}

}  // namespace rowtext
