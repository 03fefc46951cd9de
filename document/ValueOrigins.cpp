#include "document/ValueOrigins.h"

#include <QJsonObject>

#include "document/OriginText.h"
#include "document/ValueRecords.h"
#include "model/ComponentFields.h"

namespace {

const QString originalKey = QStringLiteral("original");
const QString currentKey = QStringLiteral("current");
const QString timeKey = QStringLiteral("time");
const QString userKey = QStringLiteral("user");
const QString fieldsKey = QStringLiteral("fields");

void update(std::map<QString, ValueOrigins::Value>& fields, const QString& field,
            const QJsonValue& before, const QJsonValue& after, const ValueOrigins::Stamp& stamp) {
    auto it = fields.find(field);
    if (it == fields.end()) it = fields.emplace(field, ValueOrigins::Value{before, {}, {}}).first;
    if (after == it->second.original) {
        fields.erase(it);
        return;
    }
    it->second.current = after;
    it->second.last = stamp;
}

QJsonObject encodeFields(const std::map<QString, ValueOrigins::Value>& fields) {
    QJsonObject out;
    for (const auto& [name, v] : fields) {
        out.insert(name, QJsonObject{{originalKey, v.original},
                                     {currentKey, v.current},
                                     {timeKey, v.last.time},
                                     {userKey, v.last.user}});
    }
    return out;
}

// The current value of a component's field by its history name; undefined for none.
QJsonValue componentValue(const Component& c, const QString& field) {
    if (field == QLatin1String("name")) return valueRecords::utf8(c.name.view());
    for (const ComponentFieldRow& row : componentFields) {
        if (field == QLatin1String(row.name)) return c.*row.member;
    }
    return {};
}

std::map<QString, ValueOrigins::Value> decodeFields(const QJsonObject& in, auto currentOf) {
    std::map<QString, ValueOrigins::Value> out;
    for (auto it = in.begin(); it != in.end(); ++it) {
        const QJsonObject v = it.value().toObject();
        const QJsonValue current = v.value(currentKey);
        if (current.isUndefined() || currentOf(it.key()) != current) continue;
        out.emplace(it.key(), ValueOrigins::Value{
                                  v.value(originalKey),
                                  current,
                                  {v.value(timeKey).toString(), v.value(userKey).toString()}});
    }
    return out;
}

}  // namespace

bool ValueOrigins::Component::empty() const {
    const auto none = [](const auto& points) {
        for (const auto& p : points) {
            if (p) return false;
        }
        return true;
    };
    return fields.empty() && none(points) && none(pointsVert);
}

std::vector<std::optional<ValueOrigins::Point>>& ValueOrigins::list(const ::Component* c,
                                                                    bool vertical) {
    Component& records = byComponent_[c];
    auto& points = vertical ? records.pointsVert : records.points;
    const auto& actual = vertical ? c->pointsVert : c->points;
    if (points.size() < actual.size()) points.resize(actual.size());
    return points;
}

void ValueOrigins::changed(const ::Component* c, const QString& field, const QJsonValue& before,
                           const QJsonValue& after, const Stamp& stamp) {
    update(byComponent_[c].fields, field, before, after, stamp);
}

void ValueOrigins::pointChanged(const ::Component* c, PointRef point, const QString& field,
                                const QJsonValue& before, const QJsonValue& after,
                                const Stamp& stamp) {
    auto& points = list(c, point.vertical);
    auto& record = points.at(static_cast<std::size_t>(point.index));
    if (!record) record.emplace();
    update(record->fields, field, before, after, stamp);
    if (!record->addedByHand && record->fields.empty()) record.reset();
}

void ValueOrigins::pointAdded(const ::Component* c, PointRef point, const Stamp& stamp) {
    auto& records = byComponent_[c];
    auto& points = point.vertical ? records.pointsVert : records.points;
    // Called once the point is in the list: the records before it are the list's less one.
    const std::size_t before = (point.vertical ? c->pointsVert : c->points).size() - 1;
    points.resize(before);
    const auto at = std::min(before, static_cast<std::size_t>(point.index));
    points.insert(points.begin() + static_cast<std::ptrdiff_t>(at), Point{true, stamp, {}});
}

std::optional<ValueOrigins::Point> ValueOrigins::pointRemoved(const ::Component* c,
                                                              PointRef point) {
    auto& records = byComponent_[c];
    auto& points = point.vertical ? records.pointsVert : records.points;
    const auto at = static_cast<std::size_t>(point.index);
    if (at >= points.size()) return std::nullopt;
    std::optional<Point> taken = std::move(points[at]);
    points.erase(points.begin() + static_cast<std::ptrdiff_t>(at));
    return taken;
}

void ValueOrigins::pointRestored(const ::Component* c, PointRef point,
                                 std::optional<Point> record) {
    auto& records = byComponent_[c];
    auto& points = point.vertical ? records.pointsVert : records.points;
    const auto at = static_cast<std::size_t>(point.index);
    if (points.size() < at) points.resize(at);
    points.insert(points.begin() + static_cast<std::ptrdiff_t>(at), std::move(record));
}

ValueOrigins::Taken ValueOrigins::take(const ::Component* c) {
    Taken taken;
    if (const auto it = byComponent_.find(c); it != byComponent_.end()) {
        taken.records = std::move(it->second);
        byComponent_.erase(it);
    }
    if (const auto it = fromInstrument_.find(c); it != fromInstrument_.end()) {
        taken.fromInstrument = it->second;
        fromInstrument_.erase(it);
    }
    return taken;
}

void ValueOrigins::put(const ::Component* c, Taken taken) {
    if (taken.records) byComponent_[c] = std::move(*taken.records);
    if (taken.fromInstrument) fromInstrument_[c] = true;
}

bool ValueOrigins::fromInstrument(const ::Component* c) const {
    const auto it = fromInstrument_.find(c);
    return it != fromInstrument_.end() && it->second;
}

const ValueOrigins::Component* ValueOrigins::of(const ::Component* c) const {
    const auto it = byComponent_.find(c);
    return it == byComponent_.end() || it->second.empty() ? nullptr : &it->second;
}

QJsonArray ValueOrigins::encode(const ComponentList& components) const {
    QJsonArray out;
    for (const ::Component& c : components) {
        const Component* records = of(&c);
        if (!records) continue;
        QJsonObject entry = valueRecords::forComponent(components, c, "");
        entry.remove(QStringLiteral("action"));
        entry.insert(QStringLiteral("origin"), fromInstrument(&c) ? QStringLiteral("instrument")
                                                                  : QStringLiteral("baseline"));
        if (!records->fields.empty()) entry.insert(fieldsKey, encodeFields(records->fields));
        QJsonArray points;
        for (const bool vertical : {false, true}) {
            const auto& list = vertical ? records->pointsVert : records->points;
            const auto& actual = vertical ? c.pointsVert : c.points;
            for (std::size_t i = 0; i < list.size() && i < actual.size(); ++i) {
                if (!list[i]) continue;
                QJsonObject point;
                valueRecords::addPoint(point, c, PointRef{vertical, static_cast<int>(i)});
                if (list[i]->addedByHand) {
                    point.insert(QStringLiteral("addedByHand"),
                                 QJsonObject{{timeKey, list[i]->added.time},
                                             {userKey, list[i]->added.user}});
                }
                if (!list[i]->fields.empty())
                    point.insert(fieldsKey, encodeFields(list[i]->fields));
                points.append(point);
            }
        }
        if (!points.isEmpty()) entry.insert(QStringLiteral("points"), points);
        out.append(entry);
    }
    return out;
}

void ValueOrigins::decode(const QJsonArray& originals, const ComponentList& components,
                          const std::vector<std::pair<QString, int>>& instrumentAdds) {
    clear();
    std::map<std::pair<QString, int>, const ::Component*> byCode;
    {
        std::map<QString, int> seen;
        for (const ::Component& c : components) {
            const QString code = valueRecords::utf8(c.code.view());
            byCode[{code, ++seen[code]}] = &c;
        }
    }
    for (const auto& add : instrumentAdds) {
        if (const auto it = byCode.find(add); it != byCode.end())
            fromInstrument_[it->second] = true;
    }
    for (const QJsonValue& value : originals) {
        const QJsonObject entry = value.toObject();
        const auto it = byCode.find({entry.value(QStringLiteral("component")).toString(),
                                     entry.value(QStringLiteral("occurrence")).toInt()});
        if (it == byCode.end()) continue;
        const ::Component& c = *it->second;
        Component records;
        records.fields = decodeFields(entry.value(fieldsKey).toObject(),
                                      [&c](const QString& f) { return componentValue(c, f); });
        for (const QJsonValue& p : entry.value(QStringLiteral("points")).toArray()) {
            const QJsonObject point = p.toObject();
            const bool vertical =
                point.value(QStringLiteral("list")) == QLatin1String("pointsVert");
            const auto& actual = vertical ? c.pointsVert : c.points;
            const int number = point.value(QStringLiteral("point")).toInt();
            if (number < 1 || number > static_cast<int>(actual.size())) continue;
            const QJsonObject now =
                valueRecords::pointValue(actual[static_cast<std::size_t>(number - 1)]);
            Point record;
            record.fields = decodeFields(point.value(fieldsKey).toObject(),
                                         [&now](const QString& f) { return now.value(f); });
            if (const QJsonValue hand = point.value(QStringLiteral("addedByHand"));
                hand.isObject()) {
                record.addedByHand = true;
                record.added = {hand.toObject().value(timeKey).toString(),
                                hand.toObject().value(userKey).toString()};
            }
            if (!record.addedByHand && record.fields.empty()) continue;
            auto& list = vertical ? records.pointsVert : records.points;
            list.resize(actual.size());
            list[static_cast<std::size_t>(number - 1)] = std::move(record);
        }
        if (!records.empty()) byComponent_[&c] = std::move(records);
        if (entry.value(QStringLiteral("origin")) == QLatin1String("instrument")) {
            fromInstrument_[&c] = true;
        }
    }
}

EditMarks ValueOrigins::marks(const ComponentList& components) const {
    EditMarks marks;
    std::size_t index = 0;
    for (const ::Component& c : components) {
        const Component* record = of(&c);
        ++index;
        if (!record) continue;
        const bool instrument = fromInstrument(&c);
        const auto noteOf = [instrument](const std::map<QString, Value>& fields, const char* f) {
            const auto it = fields.find(QString::fromUtf8(f));
            return it == fields.end() ? std::string()
                                      : OriginText::ofValue(it->second, instrument).toStdString();
        };
        marks.components.resize(index);
        EditMarks::Component& m = marks.components.back();
        m.name = record->fields.count(QStringLiteral("name")) != 0;
        if (m.name) m.nameNote = noteOf(record->fields, "name");
        for (const ComponentFieldRow& row : componentFields) {
            if (!record->fields.count(QString::fromUtf8(row.name))) continue;
            m.fields.insert(row.field);
            m.fieldNotes[row.field] = noteOf(record->fields, row.name);
        }
        const auto pointsOf = [&](const std::vector<std::optional<Point>>& records) {
            std::vector<EditMarks::Point> points;
            for (const std::optional<Point>& p : records) {
                EditMarks::Point& mark = points.emplace_back();
                if (!p) continue;
                // A point added by hand has all its values marked, each with the same note.
                const std::string added =
                    p->addedByHand ? OriginText::ofPoint(*p, instrument, false).toStdString()
                                   : std::string();
                const auto mark1 = [&](const char* field, bool& edited, std::string& note) {
                    edited = p->addedByHand || p->fields.count(QString::fromUtf8(field)) != 0;
                    note = p->addedByHand ? added : noteOf(p->fields, field);
                };
                mark1("thickness", mark.thickness, mark.thicknessNote);
                mark1("diameter", mark.diameter, mark.diameterNote);
                mark1("position", mark.position, mark.positionNote);
            }
            return points;
        };
        m.points = pointsOf(record->points);
        m.pointsVert = pointsOf(record->pointsVert);
    }
    return marks;
}
