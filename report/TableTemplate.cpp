#include "report/TableTemplate.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "report/ReportLayout.h"
#include "report/ReportRows.h"

namespace {

constexpr const char* tableParameters[] = {"ProjectName", "TestBasis", "Instrument", "TestDate"};

}  // namespace

QString TableTemplate::lacks(const ReportTemplate& t, ReportKind kind) {
    if (!t.hasDetail || t.columns.empty()) return QStringLiteral("没有明细表");
    for (const std::string& name : reportFieldNames(kind)) {
        const QString field = QString::fromStdString(name);
        if (field != t.noteField &&
            std::none_of(t.columns.begin(), t.columns.end(),
                         [&](const ReportColumn& c) { return c.field == field; })) {
            return QStringLiteral("没有字段“%1”").arg(field);
        }
    }
    for (const char* name : tableParameters) {
        const auto has = [&](const std::vector<ReportHeaderBox>& row) {
            return std::any_of(row.begin(), row.end(), [&](const ReportHeaderBox& b) {
                return b.parameter == QLatin1String(name);
            });
        };
        if (std::none_of(t.headerRows.begin(), t.headerRows.end(), has)) {
            return QStringLiteral("没有参数“%1”").arg(QLatin1String(name));
        }
    }
    const QSizeF area = printableArea(t);
    if (area.width() <= 0 || area.height() <= 0) {
        return QStringLiteral("页边距占满了纸张，没有绘制表格的地方");
    }
    const ReportLayout l = layoutReport(t, area);
    if (l.bodyBottom - l.bodyTop < l.rowHeight) {
        return QStringLiteral("纸张上放不下表头和一行明细");
    }
    return {};
}

TableTemplate::Choice TableTemplate::choose(const ReportTable& table, const QString& folder) {
    const QString name = QString::fromUtf8(table.templateFile);
    Choice choice;
    QString path = folder.isEmpty() ? ReportTemplate::locate(name) : QDir(folder).filePath(name);
    if (!folder.isEmpty() && !QFileInfo::exists(path)) path.clear();
    if (!path.isEmpty()) {
        Result<ReportTemplate> found = ReportTemplate::load(path);
        if (found) {
            const QString lacking = lacks(*found, table.kind);
            if (lacking.isEmpty()) {
                choice.layout = std::move(found).value();
                return choice;
            }
            choice.problem = QStringLiteral("报表模板 %1 无法使用：%2")
                                 .arg(QDir::toNativeSeparators(path), lacking)
                                 .toStdString();
        } else {
            choice.problem = found.message();
        }
        choice.problem += "。改用程序内置的模板。";
    }
    // The built-in copies are checked by the tests; they cannot fail here.
    choice.layout = ReportTemplate::load(ReportTemplate::builtIn(name)).value();
    return choice;
}
