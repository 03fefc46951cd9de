#include "document/OriginText.h"

#include "document/HistoryText.h"

namespace {

// "2026-12-07T10:41:05+08:00" → "2026-12-07 10:41": the minute is what a person compares.
QString minute(const QString& time) {
    QString shown = time.left(16);
    if (shown.size() > 10) shown[10] = QLatin1Char(' ');
    return shown;
}

QString valueText(const QJsonValue& v) {
    if (v.isDouble()) return QStringLiteral("%1 mm").arg(v.toDouble(), 0, 'g', 17);
    return QString::fromStdString(HistoryText::value(v));
}

}  // namespace

QString OriginText::ofValue(const ValueOrigins::Value& v, bool fromInstrument) {
    return QStringLiteral("%1 %2；%3 由 %4 修改为 %5")
        .arg(fromInstrument ? QStringLiteral("仪器值") : QStringLiteral("原值"),
             valueText(v.original), minute(v.last.time), v.last.user, valueText(v.current));
}

QString OriginText::ofPoint(const ValueOrigins::Point& p, bool fromInstrument, bool named) {
    if (p.addedByHand) {
        return QStringLiteral("手工增加的测点（%1，%2）").arg(minute(p.added.time), p.added.user);
    }
    QStringList lines;
    for (const auto& [field, value] : p.fields) {
        const QString text = ofValue(value, fromInstrument);
        lines << (named ? QString::fromStdString(HistoryText::fieldLabel(field)) +
                              QStringLiteral("：") + text
                        : text);
    }
    return lines.join(QLatin1Char('\n'));
}
