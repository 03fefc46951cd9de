#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <functional>
#include <set>

#include "report/PdfReportPresenter.h"
#include "report/Report.h"
#include "report/ReportEvents.h"
#include "report/ReportLayout.h"
#include "report/ReportRows.h"
#include "report/ReportTables.h"
#include "report/TableTemplate.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

using testing::HasSubstr;

namespace {

// Events answered by the test.
struct ScriptedEvents : ReportEvents {
    std::function<Status()> before = [] { return Status{}; };
    std::function<Status(bool&)> rows = [](bool&) { return Status{}; };
    Status beforeGeneration() override { return before(); }
    Status rowsWanted(bool& askAgain) override { return rows(askAgain); }
};

QString templatePath(const ReportTable& t) {
    return ReportTemplate::locate(QString::fromUtf8(t.templateFile));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(ReportEngine, EachTableTemplateLiesBesideTheExecutableAndBindsItsFields) {
    for (const ReportTable& t : reportTables()) {
        // Both copies the programs use, built in and beside them, are the shipped file, and the
        // built-in one prints its table.
        const QString builtIn = ReportTemplate::builtIn(QString::fromUtf8(t.templateFile));
        const QByteArray shipped = readAll(QString::fromUtf8(CORVANE_TEMPLATE_SOURCE "/") +
                                           QString::fromUtf8(t.templateFile));
        ASSERT_FALSE(shipped.isEmpty()) << t.templateFile;
        EXPECT_EQ(readAll(builtIn), shipped) << t.templateFile;
        EXPECT_EQ(readAll(templatePath(t)), shipped) << t.templateFile;
        EXPECT_EQ(TableTemplate::lacks(ReportTemplate::load(builtIn).value(), t.kind), "");
        const QString path = templatePath(t);
        EXPECT_EQ(path, QCoreApplication::applicationDirPath() + "/" + t.templateFile.data());
        Report report;
        ASSERT_TRUE(report.loadFromFile(path).ok()) << t.templateFile;
        EXPECT_EQ(report.title().toStdString(), t.title);

        std::set<std::string> fields;
        for (const auto& f : report.fields()) fields.insert(f->name().toStdString());
        const std::vector<std::string> wanted = reportFieldNames(t.kind);
        // Every table has a note field: the points tables' for the footnote of marked values.
        std::set<std::string> bound(wanted.begin(), wanted.end());
        bound.emplace(reportNoteField);
        EXPECT_EQ(fields, bound) << t.templateFile;
        for (const char* name : {"ProjectName", "TestBasis", "Instrument", "TestDate"}) {
            EXPECT_TRUE(report.parameterByName(name).ok()) << name;
        }
        const Result<ReportParameter*> other = report.parameterByName("TestUnit");
        EXPECT_EQ(other.message(), "报表模板中没有参数“TestUnit”");
        EXPECT_EQ(report.fieldByName("D11").message(), "报表模板中没有字段“D11”");
    }
}

// A reader goes by the captions: each count under 测点数 says which points it counts.
TEST(TableTemplate, TheAcceptanceTableCaptionsItsColumns) {
    const Result<ReportTemplate> t =
        ReportTemplate::load(ReportTemplate::builtIn(QStringLiteral("VexoAcceptanceReport.grf")));
    ASSERT_TRUE(t.ok()) << t.message();
    QStringList captions;
    for (const ReportColumn& c : t->columns) captions << c.group + "/" + c.caption;
    EXPECT_EQ(captions, (QStringList{"/构件编号", "/构件名称", "/类别", "/抽样", "测点数/参与判定",
                                     "测点数/未测", "测点数/合格", "最大偏差(mm)/正偏差",
                                     "最大偏差(mm)/负偏差"}));
}

TEST(TableTemplate, AFoundFileThatCannotPrintTheTableIsNamedAndTheBuiltInCopyPrints) {
    TempDir dir;
    const ReportTable& depthTable = reportTables()[0];
    const QByteArray depth = readAll(templatePath(depthTable));
    ASSERT_FALSE(depth.isEmpty());
    const auto replaced = [&](const char* from, const char* to) {
        QByteArray copy = depth;
        return copy.replace(from, to);
    };
    const std::vector<std::pair<QByteArray, std::string>> cases{
        {depth, ""},
        {replaced("钢筋混凝土保护层厚度检测记录表", "自定的表"), ""},  // restyled: used
        {"{\"format\": ", "不是有效的 JSON"},
        {"{\"format\": \"other/1\"}", "“format”不是 corvane-report/1"},
        {replaced("\"size\": \"A4\"", "\"size\": \"A9\""), "“page.size”不是已知的纸张大小"},
        {replaced("[15, 12, 15, 10]", "[15, 12, 15]"), "“page.margins”应为 4 个"},
        {replaced("\"rowHeight\": 7.5", "\"rowHeight\": \"7.5\""), "“detail.rowHeight”应为 2 到"},
        {replaced("\"align\": \"left\"", "\"align\": \"middle\""),
         "“detail.columns[1].align”应为 left、center 或 right"},
        {replaced("\"signature\": [\"检测\"", "\"signature\": [7"), "“signature”应为文字的数组"},
        {replaced("{\"label\": \"工程名称\", ", "{"), "“header.rows[0][0].label”应为文字"},
        {replaced("\"field\": \"D10\"", "\"field\": \"X10\""), "没有字段“D10”"},
        {replaced("\"parameter\": \"TestDate\"", "\"parameter\": \"Date\""), "没有参数“TestDate”"},
        {replaced("\"detail\":", "\"notes\":"), "没有明细表"},
        {replaced("\"size\": \"A4\", \"orientation\": \"landscape\", \"margins\": [15, 12, 15, 10]",
                  "\"size\": \"A5\", \"orientation\": \"portrait\", \"margins\": [75, 12, 75, 10]"),
         "页边距占满了纸张"},
        {replaced("[15, 12, 15, 10]", "[15, 90, 15, 90]"), "纸张上放不下表头和一行明细"},
    };
    const QString folder = QString::fromStdString(dir.path().string());
    const std::string shown = (dir / depthTable.templateFile.data()).string();
    const ReportTemplate builtIn = TableTemplate::choose(depthTable, folder).layout;  // no file
    for (const auto& [bytes, fault] : cases) {
        SCOPED_TRACE(fault);
        TempDir::write(dir / depthTable.templateFile.data(), bytes.toStdString());
        const TableTemplate::Choice choice = TableTemplate::choose(depthTable, folder);
        if (fault.empty()) {
            EXPECT_EQ(choice.problem, "");
            EXPECT_EQ(choice.layout.title,
                      QString::fromUtf8(bytes.contains("自定的表") ? "自定的表"
                                                                   : depthTable.title.data()));
            continue;
        }
        EXPECT_THAT(choice.problem, testing::StartsWith("报表模板 " + shown + " 无法使用："));
        EXPECT_THAT(choice.problem, HasSubstr(fault));
        EXPECT_THAT(choice.problem, testing::EndsWith("。改用程序内置的模板。"));
        EXPECT_EQ(choice.layout.columns.size(), builtIn.columns.size());
        EXPECT_EQ(choice.layout.title, builtIn.title);
    }
}

namespace {

// A table of one column.
ReportTemplate depthOnly() {
    ReportTemplate t;
    t.columns = {{"Depth", "深度", {}}};
    return t;
}

}  // namespace

TEST(ReportEngine, OnlyAppendedAndPostedRecordsCountAndRowsAreAskedUntilDone) {
    Report report;
    report.setTemplate(depthOnly());
    ReportRecordset& records = report.detailGrid().value()->recordset();
    ReportField* depth = report.fieldByName("Depth").value();
    EXPECT_EQ(depth->setInteger(1).message(), "给报表字段“Depth”赋值时没有当前记录（未追加记录）");
    EXPECT_EQ(records.post().message(), "没有可提交的报表记录（未追加记录）");

    ScriptedEvents events;
    int asked = 0;
    events.rows = [&](bool& askAgain) {
        EXPECT_FALSE(askAgain);
        Status s = records.append();
        if (s) s = depth->setInteger(++asked);
        if (s) s = records.append();  // drops the unposted record before
        if (s) s = depth->setInteger(10 * asked);
        if (s) s = records.post();
        askAgain = asked < 3;
        return s;
    };
    ASSERT_TRUE(report.connectEvents(&events).ok());
    ASSERT_TRUE(report.generate().ok());
    asked = 0;
    ASSERT_TRUE(report.generate().ok());  // a new generation starts from no records
    ASSERT_EQ(report.records().size(), 3u);
    EXPECT_EQ(std::get<std::int32_t>(report.records()[2][0]), 30);

    events.rows = [&](bool&) { return Status::failure("坏了"); };
    EXPECT_EQ(report.generate().message(), "坏了");
    EXPECT_FALSE(report.connectEvents(nullptr).ok());
    EXPECT_EQ(report.print().message(), "报表没有打印输出");
    EXPECT_EQ(report.printPreview().message(), "报表没有预览输出");
}

TEST(ReportEngine, AFailedRenderLeavesTheOldFile) {
    TempDir dir;
    const auto target = dir / "keep.pdf";
    TempDir::write(target, "old");
    PdfReportPresenter pdf(target);
    Report report(&pdf);
    report.setTemplate(depthOnly());
    ScriptedEvents events;
    events.before = [] { return Status::failure("报表模板中没有字段“D10”"); };
    ASSERT_TRUE(report.connectEvents(&events).ok());
    EXPECT_EQ(report.print().message(), "报表模板中没有字段“D10”");
    EXPECT_EQ(report.printPreview().message(), "报表模板中没有字段“D10”");
    EXPECT_EQ(TempDir::read(target), "old");

    report.disconnectEvents();
    EXPECT_THAT(report.writePdf(dir / "no" / "such.pdf").message(), HasSubstr("中创建文件"));
}

TEST(ReportLayout, PagesHoldWholeRowsAndTheGroupCaptionSpansItsColumns) {
    Result<ReportTemplate> t =
        ReportTemplate::parse(readAll(templatePath(reportTables()[0])), "VexoDepthReport.grf");
    ASSERT_TRUE(t.ok()) << t.message();
    EXPECT_EQ(t->margins, QMarginsF(15, 12, 15, 10));
    const ReportLayout l = layoutReport(t.value(), QSizeF(267, 188));
    EXPECT_EQ(l.title, QRectF(0, 0, 267, 12));
    EXPECT_EQ(l.headerLabels[2].rect, QRectF(0, 20, 24, 8));  // 检测依据, second header row
    EXPECT_DOUBLE_EQ(l.headerValues[3].right(), 267);         // boxes fill the row
    EXPECT_EQ(l.pageNumber, QRectF(0, 182, 267, 6));
    EXPECT_LT(l.bodyBottom, l.signature[0].rect.top());  // rows end above the signatures
    const int perPage = l.rowsPerPage(true);
    EXPECT_EQ(perPage, static_cast<int>((l.bodyBottom - l.bodyTop) / t->rowHeight));
    EXPECT_EQ(l.pageCount(0), 1);
    EXPECT_EQ(l.pageCount(perPage), 1);
    EXPECT_EQ(l.pageCount(perPage + 1), 2);
    EXPECT_EQ(l.pageCount(3 * perPage), 3);
    EXPECT_EQ(l.firstRowOn(2), 2 * perPage);

    // Two caption levels: 构件编号 spans both; the caption over D1..D10 (columns 4 to 13)
    // comes after the captions under it.
    const double level = t->columnHeaderHeight;
    EXPECT_EQ(l.columnEdges.front(), 0);
    EXPECT_DOUBLE_EQ(l.columnEdges.back(), 267);
    EXPECT_EQ(l.bodyTop, l.tableTop + 2 * level);
    EXPECT_EQ(l.columnHeader[0].rect, QRectF(0, l.tableTop, l.columnEdges[1], 2 * level));
    const ReportCell& d10 = l.columnHeader[l.columnHeader.size() - 2];
    EXPECT_EQ(d10.rect.top(), l.tableTop + level);
    const ReportCell& group = l.columnHeader.back();
    EXPECT_TRUE(group.text.startsWith("保护层厚度实测值"));
    EXPECT_EQ(group.rect,
              QRectF(l.columnEdges[4], l.tableTop, l.columnEdges[14] - l.columnEdges[4], level));

    // A group may start at the first column; without groups there is one caption level.
    ReportTemplate plain;
    plain.columns = {{"A", "a", "G"}, {"B", "b", "G"}, {"C", "c", ""}};
    const ReportLayout grouped = layoutReport(plain, QSizeF(100, 100));
    EXPECT_EQ(grouped.columnHeader.size(), 4u);
    plain.columns = {{"C", "c", ""}};
    EXPECT_EQ(layoutReport(plain, QSizeF(100, 100)).bodyTop,
              grouped.tableTop + plain.columnHeaderHeight);

    // Without the repeated column header, later pages hold more rows.
    t->repeatColumnHeader = false;
    const ReportLayout once = layoutReport(t.value(), QSizeF(267, 188));
    const int more = once.rowsPerPage(false);
    EXPECT_GT(more, perPage);
    EXPECT_EQ(once.pageCount(perPage + more + 1), 3);
    EXPECT_EQ(once.firstRowOn(2), perPage + more);
}
