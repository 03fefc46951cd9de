#include "document/ProjectSidecar.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <cmath>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "document/Sha256.h"
#include "model/GbkCodec.h"

namespace {

const QString formatKey = QStringLiteral("format");
const QString versionKey = QStringLiteral("version");
const QString shaKey = QStringLiteral("projectSha256");
const QString componentsKey = QStringLiteral("components");
const QString codeKey = QStringLiteral("code");
const QString occurrenceKey = QStringLiteral("occurrence");
const QString classKey = QStringLiteral("class");
const QString sampleKey = QStringLiteral("sample");
const QString unplacedKey = QStringLiteral("unplaced");
const QString confirmedKey = QStringLiteral("classesConfirmed");
const QString historyKey = QStringLiteral("history");
const QString originalsKey = QStringLiteral("originals");

// A JSON number that is a whole number within [low, high].
std::optional<int> wholeNumber(const QJsonValue& v, int low, int high) {
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (!(d >= low && d <= high) || std::floor(d) != d) return std::nullopt;
    return static_cast<int>(d);
}

std::optional<AcceptanceClass> classOfKey(const QString& key) {
    for (const AcceptanceClassRule& c : acceptanceRule.classes) {
        if (key == QLatin1String(c.key.data(), static_cast<qsizetype>(c.key.size()))) {
            return c.cls;
        }
    }
    return std::nullopt;
}

QJsonObject withoutKeys(QJsonObject o, std::initializer_list<const QString*> keys) {
    for (const QString* k : keys) o.remove(*k);
    return o;
}

std::optional<SidecarEntry> entryOf(const QJsonValue& v) {
    if (!v.isObject()) return std::nullopt;
    const QJsonObject o = v.toObject();
    const QJsonValue code = o.value(codeKey);
    const auto occurrence = wholeNumber(o.value(occurrenceKey), 1, 1 << 30);
    const auto cls = classOfKey(o.value(classKey).toString());
    const auto sample = wholeNumber(o.value(sampleKey), 1, 2);
    if (!code.isString() || code.toString().isEmpty() || !occurrence || !cls || !sample) {
        return std::nullopt;
    }
    SidecarEntry e;
    e.code = code.toString().toStdString();
    e.occurrence = *occurrence;
    e.mark = {*cls, static_cast<AcceptanceSample>(*sample)};
    e.unknown = withoutKeys(o, {&codeKey, &occurrenceKey, &classKey, &sampleKey});
    return e;
}

SidecarDecoding damaged(std::string problem) {
    SidecarDecoding d;
    d.problem = std::move(problem);
    return d;
}

// Any JSON value as compact text.
std::string jsonText(const QJsonValue& v) {
    const QByteArray array = QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2).toStdString();
}

std::string jsonText(const std::string& utf8) {
    return jsonText(QJsonValue(QString::fromStdString(utf8)));
}

// The unknown keys as `, "key": value` pairs, in the object's order.
std::string unknownPairs(const QJsonObject& o) {
    std::string out;
    for (auto it = o.begin(); it != o.end(); ++it) {
        out += ", " + jsonText(QJsonValue(it.key())) + ": " + jsonText(it.value());
    }
    return out;
}

// Occurrence of each component in project order: the n-th component of its code is n.
template <class Visit>
void forEachOccurrence(const ComponentList& components, Visit visit) {
    std::map<std::string, int> seen;
    for (const Component& c : components) {
        std::string code = gbk::toUtf8(c.code.view());
        const int occurrence = ++seen[code];
        visit(c, code, occurrence);
    }
}

}  // namespace

SidecarDecoding ProjectSidecar::decode(std::string_view bytes) {
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &error);
    if (error.error != QJsonParseError::NoError) {
        return damaged("第 " + std::to_string(error.offset + 1) + " 个字节处不是有效的 JSON");
    }
    if (!doc.isObject()) return damaged("内容不是 JSON 对象");
    const QJsonObject root = doc.object();
    if (root.value(formatKey).toString() !=
        QLatin1String(formatName.data(), static_cast<qsizetype>(formatName.size()))) {
        return damaged("格式标记不是 \"" + std::string(formatName) + "\"");
    }
    const auto fileVersion = wholeNumber(root.value(versionKey), 1, 1 << 30);
    if (!fileVersion) return damaged("版本号无效");
    if (*fileVersion > version) {
        SidecarDecoding d;
        d.state = Decoded::Newer;
        return d;
    }
    const QJsonValue sha = root.value(shaKey);
    if (!sha.isString()) return damaged("缺少工程文件的校验值");
    const QJsonValue list = root.value(componentsKey);
    if (!list.isArray()) return damaged("缺少构件列表");

    const QJsonValue unplaced = root.value(unplacedKey);
    if (!unplaced.isUndefined() && !unplaced.isArray()) return damaged("未对应构件的条目无效");
    const QJsonValue confirmed = root.value(confirmedKey);
    if (!confirmed.isUndefined() && !confirmed.isBool()) return damaged("确认标记无效");
    const QJsonValue history = root.value(historyKey);
    if (!history.isUndefined() && !history.isArray()) return damaged("修改记录无效");
    const QJsonValue originals = root.value(originalsKey);
    if (!originals.isUndefined() && !originals.isArray()) return damaged("原值记录无效");

    SidecarDecoding d;
    d.state = Decoded::Ok;
    d.sidecar.projectSha256 = sha.toString().toStdString();
    d.sidecar.classesConfirmed = confirmed.toBool(true);
    const auto readEntries = [](const QJsonArray& array, std::vector<SidecarEntry>& into,
                                const char* what) -> std::string {
        for (qsizetype i = 0; i < array.size(); ++i) {
            auto entry = entryOf(array.at(i));
            if (!entry) return std::string(what) + "第 " + std::to_string(i + 1) + " 个条目无效";
            into.push_back(std::move(*entry));
        }
        return {};
    };
    if (std::string problem = readEntries(list.toArray(), d.sidecar.entries, "构件列表");
        !problem.empty()) {
        return damaged(problem);
    }
    if (std::string problem = readEntries(unplaced.toArray(), d.sidecar.unplaced, "未对应构件的");
        !problem.empty()) {
        return damaged(problem);
    }
    const QJsonArray entries = history.toArray();
    d.sidecar.history.reserve(static_cast<std::size_t>(entries.size()));
    for (const QJsonValue& entry : entries) {
        if (!entry.isObject()) return damaged("修改记录无效");
        d.sidecar.history.push_back(entry.toObject());
    }
    d.sidecar.originals = originals.toArray();
    d.sidecar.unknown =
        withoutKeys(root, {&formatKey, &versionKey, &shaKey, &componentsKey, &unplacedKey,
                           &confirmedKey, &historyKey, &originalsKey});
    return d;
}

std::string ProjectSidecar::encode() const {
    std::string out = "{\n  \"format\": " + jsonText(std::string(formatName)) +
                      ",\n  \"version\": " + std::to_string(version) +
                      ",\n  \"projectSha256\": " + jsonText(projectSha256);
    if (!classesConfirmed) out += ",\n  \"classesConfirmed\": false";
    const auto list = [&out](const char* key, const std::vector<SidecarEntry>& items) {
        out += ",\n  \"" + std::string(key) + "\": [";
        for (std::size_t i = 0; i < items.size(); ++i) {
            const SidecarEntry& e = items[i];
            out += (i ? ",\n    " : "\n    ");
            out += "{\"code\": " + jsonText(e.code) +
                   ", \"occurrence\": " + std::to_string(e.occurrence) + ", \"class\": \"" +
                   std::string(acceptanceRule.of(e.mark.cls).key) +
                   "\", \"sample\": " + std::to_string(static_cast<int>(e.mark.sample)) +
                   unknownPairs(e.unknown) + "}";
        }
        out += items.empty() ? "]" : "\n  ]";
    };
    list("components", entries);
    if (!unplaced.empty()) list("unplaced", unplaced);
    // One object a line: a reader of the file sees the history as it grew.
    const auto objects = [&out](const char* key, const auto& values) {
        out += ",\n  \"" + std::string(key) + "\": [";
        bool first = true;
        for (const auto& v : values) {
            out += (first ? "\n    " : ",\n    ") + jsonText(QJsonValue(v));
            first = false;
        }
        out += first ? "]" : "\n  ]";
    };
    if (!originals.isEmpty()) objects("originals", originals);
    if (!history.empty()) objects("history", history);
    for (auto it = unknown.begin(); it != unknown.end(); ++it) {
        out += ",\n  " + jsonText(QJsonValue(it.key())) + ": " + jsonText(it.value());
    }
    return out + "\n}\n";
}

ProjectSidecar::Applied ProjectSidecar::applyTo(const ComponentList& components) const {
    // The first entry of a component wins; the entries before the unplaced ones.
    std::map<std::pair<std::string_view, int>, const SidecarEntry*> byName;
    for (const auto* list : {&entries, &unplaced}) {
        for (const SidecarEntry& e : *list) {
            byName.emplace(std::pair{std::string_view(e.code), e.occurrence}, &e);
        }
    }
    std::set<const SidecarEntry*> placed;
    Applied applied;
    forEachOccurrence(components, [&](const Component& c, const std::string& code, int n) {
        const auto it = byName.find({code, n});
        if (it == byName.end() || !takesPartInAcceptance(c)) return;
        applied.marks.emplace(&c, it->second->mark);
        placed.insert(it->second);
        if (!it->second->unknown.isEmpty()) applied.kept.emplace(&c, it->second->unknown);
    });
    for (const auto* list : {&entries, &unplaced}) {
        for (const SidecarEntry& e : *list) {
            if (!placed.count(&e)) applied.unplaced.push_back(e);
        }
    }
    return applied;
}

ProjectSidecar ProjectSidecar::rewritten(const ComponentList& components,
                                         const AcceptanceMarks& marks, const SidecarKeptKeys& kept,
                                         std::vector<SidecarEntry> unplacedEntries, bool confirmed,
                                         std::string sha) const {
    ProjectSidecar out;
    out.projectSha256 = std::move(sha);
    out.unknown = unknown;
    out.unplaced = std::move(unplacedEntries);
    out.history = history;
    out.originals = originals;
    out.classesConfirmed = confirmed;
    forEachOccurrence(components, [&](const Component& c, const std::string& code, int n) {
        const auto mark = marks.find(&c);
        if (mark == marks.end() || !takesPartInAcceptance(c)) return;
        const auto keys = kept.find(&c);
        out.entries.push_back(
            {code, n, mark->second, keys == kept.end() ? QJsonObject() : keys->second});
    });
    return out;
}

std::string ProjectSidecar::sha256Hex(std::string_view bytes) {
    return ::sha256Hex(bytes).toStdString();
}
