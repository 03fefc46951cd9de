#pragma once

#include <QJsonObject>
#include <string>

// One history entry as a line a person reads (corvane-cli history, 修改记录):
// "2026-12-07 10:41:05 zhang H001#1 点2 厚度 23 → 25".
class HistoryText {
public:
    static std::string line(const QJsonObject& entry);
    // The words for a field of an entry ("厚度", "保护层厚度设计值" …); the name itself for
    // one this version does not know.
    static std::string fieldLabel(const QString& field);
    // A value of an entry: a number, a quoted text, a point, or "—" for none.
    static std::string value(const QJsonValue& v);
};
