#pragma once

#include <QJsonObject>
#include <array>
#include <string>
#include <vector>

// One history entry as a line a person reads (corvane-cli history, 修改记录):
// "2026-12-07 10:41:05 zhang H001#1 点2 厚度 23 → 25".
class HistoryText {
public:
    static std::string line(const QJsonObject& entry);
    // The entry in the columns of 修改记录 and its printed table: time (to the second), user,
    // component ("H001", "H001#2" for a later occurrence), point ("3", "垂直 3"), what changed
    // (the field's words, or what happened: "增加构件", "保存" …), old value, new value.
    using Columns = std::array<std::string, 7>;
    static Columns columns(const QJsonObject& entry);
    // The columns of every entry, newest first, as 修改记录 lists them.
    static std::vector<Columns> newestFirst(const std::vector<QJsonObject>& history);
    // The words for a field of an entry ("厚度", "保护层厚度设计值" …); the name itself for
    // one this version does not know.
    static std::string fieldLabel(const QString& field);
    // A value of an entry: a number, a quoted text, a point, or "—" for none.
    static std::string value(const QJsonValue& v);
};
