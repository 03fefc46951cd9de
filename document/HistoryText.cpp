#include "document/HistoryText.h"

#include <QJsonArray>
#include <utility>

namespace {

constexpr std::pair<const char*, const char*> fieldLabels[] = {
    {"name", "名称"},
    {"designDiameter", "钢筋直径设计值"},
    {"designDiameterVert", "垂直钢筋直径设计值"},
    {"designCover", "保护层厚度设计值"},
    {"designCoverVert", "垂直保护层厚度设计值"},
    {"designSpacing", "配筋间距设计值"},
    {"designSpacingVert", "垂直配筋间距设计值"},
    {"diameterTolerance", "直径偏差值"},
    {"thicknessTolerance", "厚度偏差值"},
    {"spacingTolerance", "间距偏差值"},
    {"pointCount", "测点数"},
    {"pointCountVert", "垂直测点数"},
    {"thickness", "厚度"},
    {"diameter", "直径"},
    {"position", "位置"},
    {"projectName", "工程名称"},
    {"testBasis", "检测依据"},
    {"testUnit", "检测单位"},
    {"instrument", "仪器型号"},
    {"class", "验收类别"},
    {"sample", "抽样"},
    {"classesConfirmed", "验收类别已确认"},
};

std::string text(const QJsonValue& v) {
    return v.toString().toStdString();
}

std::string shortSha(const QJsonValue& v) {
    const std::string sha = text(v);
    return sha.empty() ? "（无）" : sha.substr(0, 12);
}

}  // namespace

std::string HistoryText::fieldLabel(const QString& field) {
    for (const auto& [name, label] : fieldLabels) {
        if (field == QLatin1String(name)) return label;
    }
    return field.toStdString();
}

std::string HistoryText::value(const QJsonValue& v) {
    switch (v.type()) {
        case QJsonValue::Double:
            return QString::number(v.toDouble(), 'g', 17).toStdString();
        case QJsonValue::String:
            return "“" + text(v) + "”";
        case QJsonValue::Bool:
            return v.toBool() ? "是" : "否";
        case QJsonValue::Object: {
            const QJsonObject p = v.toObject();
            return "（厚度 " + value(p.value(QStringLiteral("thickness"))) + "，直径 " +
                   value(p.value(QStringLiteral("diameter"))) + "，位置 " +
                   value(p.value(QStringLiteral("position"))) + "）";
        }
        default:
            return "—";
    }
}

HistoryText::Columns HistoryText::columns(const QJsonObject& e) {
    Columns out;
    out[0] = text(e.value(QStringLiteral("time"))).substr(0, 19);
    if (out[0].size() > 10) out[0][10] = ' ';
    out[1] = text(e.value(QStringLiteral("user")));
    if (e.contains(QStringLiteral("component"))) {
        out[2] = text(e.value(QStringLiteral("component")));
        if (const int n = e.value(QStringLiteral("occurrence")).toInt(1); n > 1) {
            out[2] += '#' + std::to_string(n);
        }
    }
    if (e.contains(QStringLiteral("point"))) {
        const bool vertical = e.value(QStringLiteral("list")) == QLatin1String("pointsVert");
        out[3] =
            (vertical ? "垂直 " : "") + std::to_string(e.value(QStringLiteral("point")).toInt());
    }
    const QString action = e.value(QStringLiteral("action")).toString();
    const std::string field = e.contains(QStringLiteral("field"))
                                  ? fieldLabel(e.value(QStringLiteral("field")).toString())
                                  : std::string();
    const auto with = [&field](std::string what) {
        return field.empty() ? what : what + " " + field;
    };
    if (action == QLatin1String("edit") || action == QLatin1String("confirm")) {
        out[4] = field;
    } else if (action == QLatin1String("addPoint")) {
        out[4] = with("增加测点");
    } else if (action == QLatin1String("removePoint")) {
        out[4] = with("删除测点");
    } else if (action == QLatin1String("add")) {
        out[4] = "增加构件";
        const QJsonObject source = e.value(QStringLiteral("source")).toObject();
        if (!source.isEmpty())
            out[4] += "（来自 " + text(source.value(QStringLiteral("file"))) + "）";
    } else if (action == QLatin1String("delete")) {
        out[4] = "删除构件";
    } else if (action == QLatin1String("undo")) {
        out[4] =
            with("撤销第 " + std::to_string(e.value(QStringLiteral("undoes")).toInt()) + " 条");
    } else if (action == QLatin1String("baseline")) {
        out[4] = "开始记录";
    } else if (action == QLatin1String("external")) {
        out[4] = "工程在别处被改动";
    } else if (action == QLatin1String("save")) {
        out[4] = "保存";
    } else if (action == QLatin1String("break")) {
        out[4] = "第 " + std::to_string(e.value(QStringLiteral("brokenAt")).toInt()) +
                 " 条起无法验证，由此重新记录";
    } else {
        out[4] = with(action.toStdString());
    }
    if (e.contains(QStringLiteral("old")) || e.contains(QStringLiteral("new"))) {
        out[5] = value(e.value(QStringLiteral("old")));
        out[6] = value(e.value(QStringLiteral("new")));
    }
    return out;
}

std::vector<HistoryText::Columns> HistoryText::newestFirst(
    const std::vector<QJsonObject>& history) {
    std::vector<Columns> rows;
    rows.reserve(history.size());
    for (auto e = history.rbegin(); e != history.rend(); ++e) rows.push_back(columns(*e));
    return rows;
}

std::string HistoryText::line(const QJsonObject& e) {
    // "2026-12-07T10:41:05+08:00" → "2026-12-07 10:41:05"
    std::string out = text(e.value(QStringLiteral("time"))).substr(0, 19);
    if (out.size() > 10) out[10] = ' ';
    out += ' ' + text(e.value(QStringLiteral("user")));
    if (e.contains(QStringLiteral("component"))) {
        out += ' ' + text(e.value(QStringLiteral("component"))) + '#' +
               std::to_string(e.value(QStringLiteral("occurrence")).toInt());
    }
    if (e.contains(QStringLiteral("point"))) {
        const bool vertical = e.value(QStringLiteral("list")) == QLatin1String("pointsVert");
        out += std::string(vertical ? " 垂直点" : " 点") +
               std::to_string(e.value(QStringLiteral("point")).toInt());
    }
    const QString action = e.value(QStringLiteral("action")).toString();
    const auto change = [&e] {
        std::string c;
        if (e.contains(QStringLiteral("field"))) {
            c += ' ' + fieldLabel(e.value(QStringLiteral("field")).toString());
        }
        if (e.contains(QStringLiteral("old")) || e.contains(QStringLiteral("new"))) {
            c += ' ' + value(e.value(QStringLiteral("old"))) + " → " +
                 value(e.value(QStringLiteral("new")));
        }
        return c;
    };
    if (action == QLatin1String("edit") || action == QLatin1String("confirm")) {
        out += change();
    } else if (action == QLatin1String("addPoint")) {
        out += " 增加测点" + change();
    } else if (action == QLatin1String("removePoint")) {
        out += " 删除测点" + change();
    } else if (action == QLatin1String("add")) {
        out += " 增加构件";
        const QJsonObject source = e.value(QStringLiteral("source")).toObject();
        if (!source.isEmpty()) out += "（来自 " + text(source.value(QStringLiteral("file"))) + "）";
    } else if (action == QLatin1String("delete")) {
        out += " 删除构件";
    } else if (action == QLatin1String("undo")) {
        out += " 撤销第 " + std::to_string(e.value(QStringLiteral("undoes")).toInt()) + " 条" +
               change();
    } else if (action == QLatin1String("baseline")) {
        out += " 开始记录，工程 " + shortSha(e.value(QStringLiteral("projectSha256")));
    } else if (action == QLatin1String("external")) {
        out += " 工程在别处被改动，" + shortSha(e.value(QStringLiteral("previousSha256"))) + " → " +
               shortSha(e.value(QStringLiteral("projectSha256")));
    } else if (action == QLatin1String("save")) {
        out += " 保存，工程 " + shortSha(e.value(QStringLiteral("projectSha256")));
    } else if (action == QLatin1String("break")) {
        out += " 第 " + std::to_string(e.value(QStringLiteral("brokenAt")).toInt()) +
               " 条起无法验证，由此重新记录";
    } else {
        out += ' ' + action.toStdString() + change();
    }
    return out;
}
