#include "report/ReportTemplate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// Far more than any real template; a larger file is not one.
constexpr qint64 maxTemplateBytes = 1 << 20;
constexpr qsizetype maxColumns = 64;
constexpr qsizetype maxHeaderRows = 8;

// Reads typed values out of the JSON, keeping the first fault with the key that caused it.
class Reader {
public:
    bool failed() const { return !fault_.isEmpty(); }
    const QString& fault() const { return fault_; }

    void fail(const QString& key, const QString& what) {
        if (fault_.isEmpty()) fault_ = QStringLiteral("“%1”%2").arg(key, what);
    }

    double number(const QJsonObject& o, const QString& key, const QString& path, double value,
                  double lo, double hi) {
        const QJsonValue v = o.value(key);
        if (v.isUndefined()) return value;
        if (!v.isDouble() || v.toDouble() < lo || v.toDouble() > hi) {
            fail(path + key, QStringLiteral("应为 %1 到 %2 之间的数").arg(lo).arg(hi));
            return value;
        }
        return v.toDouble();
    }

    QString text(const QJsonObject& o, const QString& key, const QString& path,
                 const QString& value, bool required = false) {
        const QJsonValue v = o.value(key);
        if (v.isUndefined() && !required) return value;
        if (!v.isString()) {
            fail(path + key, QStringLiteral("应为文字"));
            return value;
        }
        return v.toString();
    }

    bool flag(const QJsonObject& o, const QString& key, const QString& path, bool value) {
        const QJsonValue v = o.value(key);
        if (v.isUndefined()) return value;
        if (!v.isBool()) {
            fail(path + key, QStringLiteral("应为 true 或 false"));
            return value;
        }
        return v.toBool();
    }

    QJsonObject object(const QJsonObject& o, const QString& key, const QString& path) {
        const QJsonValue v = o.value(key);
        if (!v.isUndefined() && !v.isObject()) fail(path + key, QStringLiteral("应为对象"));
        return v.toObject();
    }

    QJsonArray array(const QJsonValue& v, const QString& key, qsizetype most) {
        if (v.isUndefined()) return {};
        if (!v.isArray() || v.toArray().size() > most) {
            fail(key, QStringLiteral("应为不超过 %1 项的数组").arg(most));
            return {};
        }
        return v.toArray();
    }

private:
    QString fault_;
};

struct PageSizeName {
    const char* name;
    QPageSize::PageSizeId id;
};
constexpr std::array<PageSizeName, 5> pageSizes{{{"A3", QPageSize::A3},
                                                 {"A4", QPageSize::A4},
                                                 {"A5", QPageSize::A5},
                                                 {"B5", QPageSize::B5},
                                                 {"Letter", QPageSize::Letter}}};

void readPage(Reader& r, const QJsonObject& page, ReportTemplate& t) {
    const QString size = r.text(page, "size", "page.", "A4");
    bool known = false;
    for (const auto& s : pageSizes) {
        if (size == QLatin1String(s.name)) {
            t.pageSize = QPageSize(s.id);
            known = true;
        }
    }
    if (!known) r.fail("page.size", QStringLiteral("不是已知的纸张大小（A3、A4、A5、B5、Letter）"));

    const QString orientation = r.text(page, "orientation", "page.", "landscape");
    if (orientation == "portrait") {
        t.orientation = QPageLayout::Portrait;
    } else if (orientation == "landscape") {
        t.orientation = QPageLayout::Landscape;
    } else {
        r.fail("page.orientation", QStringLiteral("应为 portrait 或 landscape"));
    }

    const QJsonArray m = r.array(page.value("margins"), "page.margins", 4);
    if (page.contains("margins")) {
        std::array<double, 4> mm{};
        for (qsizetype i = 0; i < 4; ++i) {
            const QJsonValue v = m.at(i);
            if (!v.isDouble() || v.toDouble() < 0 || v.toDouble() > 100) {
                r.fail("page.margins",
                       QStringLiteral("应为 4 个 0 到 100 之间的数（左、上、右、下）"));
                return;
            }
            mm[static_cast<std::size_t>(i)] = v.toDouble();
        }
        t.margins = QMarginsF(mm[0], mm[1], mm[2], mm[3]);
    }
}

void readHeader(Reader& r, const QJsonObject& header, ReportTemplate& t) {
    t.headerRowHeight = r.number(header, "rowHeight", "header.", t.headerRowHeight, 2, 100);
    t.labelWidth = r.number(header, "labelWidth", "header.", t.labelWidth, 0, 200);
    const QJsonArray rows = r.array(header.value("rows"), "header.rows", maxHeaderRows);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const QString key = QStringLiteral("header.rows[%1]").arg(i);
        const QJsonArray boxes = r.array(rows.at(i), key, maxColumns);
        std::vector<ReportHeaderBox>& row = t.headerRows.emplace_back();
        for (qsizetype j = 0; j < boxes.size(); ++j) {
            const QString path = key + QStringLiteral("[%1].").arg(j);
            const QJsonObject o = boxes.at(j).toObject();
            row.push_back({r.text(o, "label", path, {}, true),
                           r.text(o, "parameter", path, {}, true),
                           r.number(o, "width", path, 1, 0.01, 1000)});
        }
    }
}

Qt::Alignment alignment(Reader& r, const QString& word, const QString& key) {
    if (word == "left") return Qt::AlignLeft;
    if (word == "center") return Qt::AlignHCenter;
    if (word == "right") return Qt::AlignRight;
    r.fail(key, QStringLiteral("应为 left、center 或 right"));
    return Qt::AlignHCenter;
}

void readDetail(Reader& r, const QJsonObject& detail, ReportTemplate& t) {
    t.columnHeaderHeight =
        r.number(detail, "columnHeaderHeight", "detail.", t.columnHeaderHeight, 2, 100);
    t.rowHeight = r.number(detail, "rowHeight", "detail.", t.rowHeight, 2, 100);
    t.repeatColumnHeader = r.flag(detail, "repeatColumnHeader", "detail.", t.repeatColumnHeader);
    const QJsonArray columns = r.array(detail.value("columns"), "detail.columns", maxColumns);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString path = QStringLiteral("detail.columns[%1].").arg(i);
        const QJsonObject o = columns.at(i).toObject();
        ReportColumn c;
        c.field = r.text(o, "field", path, {}, true);
        c.caption = r.text(o, "caption", path, {});
        c.group = r.text(o, "group", path, {});
        c.width = r.number(o, "width", path, c.width, 0.5, 1000);
        c.align = alignment(r, r.text(o, "align", path, "center"), path + "align");
        t.columns.push_back(std::move(c));
    }
    if (t.columns.empty()) r.fail("detail.columns", QStringLiteral("至少要有一列"));
    t.noteField = r.text(detail, "noteField", "detail.", {});
    if (!t.noteField.isEmpty() &&
        std::any_of(t.columns.begin(), t.columns.end(),
                    [&](const ReportColumn& c) { return c.field == t.noteField; })) {
        r.fail("detail.noteField", QStringLiteral("不能同时是一列的字段"));
    }
}

}  // namespace

Result<ReportTemplate> ReportTemplate::parse(const QByteArray& json, const QString& name) {
    const auto failure = [&](const QString& why) {
        return Result<ReportTemplate>::failure(
            QStringLiteral("报表模板 %1 无法使用：%2").arg(name, why).toStdString());
    };
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        return failure(QStringLiteral("不是有效的 JSON（%1，第 %2 字节）")
                           .arg(error.errorString())
                           .arg(error.offset));
    }
    const QJsonObject root = doc.object();
    if (root.value("format").toString() != QLatin1String(formatName)) {
        return failure(QStringLiteral("“format”不是 %1").arg(QLatin1String(formatName)));
    }

    Reader r;
    ReportTemplate t;
    t.title = r.text(root, "title", {}, {});
    readPage(r, r.object(root, "page", {}), t);
    const QJsonObject font = r.object(root, "font", {});
    t.fontFamily = r.text(font, "family", "font.", t.fontFamily);
    t.titlePoints = r.number(font, "title", "font.", t.titlePoints, 4, 72);
    t.textPoints = r.number(font, "text", "font.", t.textPoints, 4, 72);
    t.tablePoints = r.number(font, "table", "font.", t.tablePoints, 4, 72);
    t.titleHeight = r.number(root, "titleHeight", {}, t.titleHeight, 0, 100);
    readHeader(r, r.object(root, "header", {}), t);
    t.hasDetail = root.contains("detail");
    if (t.hasDetail) readDetail(r, r.object(root, "detail", {}), t);
    for (const QJsonValue& v : r.array(root.value("signature"), "signature", 8)) {
        if (!v.isString()) r.fail("signature", QStringLiteral("应为文字的数组"));
        t.signature.push_back(v.toString());
    }
    t.pageNumber = r.text(root, "pageNumber", {}, t.pageNumber);
    if (r.failed()) return failure(r.fault());
    return t;
}

Result<ReportTemplate> ReportTemplate::load(const QString& path) {
    QFile file(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile()) {
        return Result<ReportTemplate>::failure(
            QStringLiteral("找不到报表模板 %1").arg(shown).toStdString());
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return Result<ReportTemplate>::failure(
            QStringLiteral("无法读取报表模板 %1：%2").arg(shown, file.errorString()).toStdString());
    }
    if (file.size() > maxTemplateBytes) {
        return Result<ReportTemplate>::failure(
            QStringLiteral("报表模板 %1 过大，不是报表模板").arg(shown).toStdString());
    }
    return parse(file.readAll(), shown);
}

QString ReportTemplate::locate(const QString& fileName) {
    const QDir beside(QCoreApplication::applicationDirPath());
    for (const QString& path : {beside.filePath(fileName),
                                beside.filePath(QStringLiteral("../share/corvane/") + fileName)}) {
        if (QFileInfo::exists(path)) return QDir::cleanPath(path);
    }
    return {};
}

QString ReportTemplate::builtIn(const QString& fileName) {
    return QStringLiteral(":/templates/") + fileName;
}
