#include "document/ValueRecords.h"

#include "model/GbkCodec.h"

namespace valueRecords {

QJsonObject forComponent(const ComponentList& list, const Component& c, const char* action) {
    int occurrence = 1;
    for (const Component& other : list) {
        if (&other == &c) break;
        if (other.code == c.code) ++occurrence;
    }
    return {{QStringLiteral("action"), QString::fromUtf8(action)},
            {QStringLiteral("component"), utf8(c.code.view())},
            {QStringLiteral("occurrence"), occurrence}};
}

void addPoint(QJsonObject& record, const Component& c, PointRef point) {
    record.insert(QStringLiteral("point"), point.index + 1);
    if (c.hasVerticalList()) {
        record.insert(QStringLiteral("list"),
                      point.vertical ? QStringLiteral("pointsVert") : QStringLiteral("points"));
    }
}

QJsonObject pointValue(const MeasurePoint& p) {
    return {{QStringLiteral("thickness"), p.thickness},
            {QStringLiteral("diameter"), p.diameter},
            {QStringLiteral("position"), static_cast<qint64>(p.position)}};
}

QString utf8(std::string_view gbkText) {
    return QString::fromStdString(gbk::toUtf8(gbkText));
}

}  // namespace valueRecords
