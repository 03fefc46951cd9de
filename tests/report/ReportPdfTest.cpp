#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "report/CReportEvent.h"
#include "report/PdfReportPresenter.h"
#include "report/Report.h"
#include "report/ReportSamples.h"
#include "support/PdfText.h"
#include "support/TempDir.h"

using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

const std::vector<std::string> codes{"H001", "H002", "H003", "Z001", "Z002",
                                     "W001", "W002", "P001", "P002"};

class ReportPdfTest : public testing::Test {
protected:
    // Prints `kind` as the program does (template beside the executable, the sink, print)
    // into a PDF, and reads it back.
    std::vector<std::vector<std::string>> print(ReportKind kind, const ComponentList& list,
                                                const std::vector<bool>& ticked) {
        const std::string path = (dir / "table.pdf").string();
        PdfReportPresenter pdf(path);
        Report report(&pdf);
        const ReportTable* table = reportTable(kind);
        EXPECT_TRUE(
            report.loadFromFile(ReportTemplate::locate(QString::fromUtf8(table->templateFile)))
                .ok());
        const ProjectInfo info = report_samples::header();
        CReportEvent sink(report, info, list, ticked, *table);
        EXPECT_TRUE(report.connectEvents(&sink).ok());
        const Status s = report.print(true);
        EXPECT_TRUE(s.ok()) << s.message();
        auto pages = pdfPages(path);
        EXPECT_EQ(static_cast<int>(pages.size()), report.pageCount());
        return pages;
    }

    TempDir dir;
};

}  // namespace

TEST_F(ReportPdfTest, ThicknessTableShowsHeaderAndOneRowPerTickedComponentAndDirection) {
    const auto pages =
        print(ReportKind::Thickness, report_samples::project(), report_samples::ticked());
    ASSERT_EQ(pages.size(), 1u);
    const auto& page = pages[0];
    EXPECT_EQ(page.front(), "钢筋混凝土保护层厚度检测记录表");
    EXPECT_THAT(page, Contains("工程名称 综合楼工程 检测日期 1/1/25"));
    EXPECT_THAT(page, Contains("检测依据 GB 50204-2015 仪器型号 R-90型钢筋探测仪"));
    EXPECT_THAT(page, Contains("检测： 记录： 校核："));
    EXPECT_EQ(page.back(), "第1页共1页");  // pdftotext drops the narrow spaces
    EXPECT_THAT(
        linesStartingWith(page, codes),
        ElementsAre("H001 一层梁 16 50 20 21 22 23 24 25 26 27 28 29", "W001 三层板 16 50 20 21",
                    "W001 三层板 12 45 40 41 42", "P001 墙一 16 50 20", "W002 四层板 16 50 20 21",
                    "P002 墙二 16 50 20 21 22 23 24 25 26 27 28 29"));
}

TEST_F(ReportPdfTest, SpacingTablePrintsNineDifferencesOfTwoOrMorePoints) {
    // The test date is that of the first ticked component on the table: the ticked diameter
    // component before it is not on a spacing table.
    const auto pages = print(ReportKind::Spacing, report_samples::project(),
                             {false, true, true, true, true, true, false, true});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].front(), "钢筋间距检测记录表");
    EXPECT_THAT(pages[0], Contains(HasSubstr("检测日期 3/3/25")));
    EXPECT_THAT(linesStartingWith(pages[0], codes),
                ElementsAre("W001 三层板 100 100", "W001 三层板 150 -3 -3", "W002 四层板 100 100",
                            "P002 墙二 100 -5 -10 -15 -20 -25 -30 -35 -40 -45"));
}

TEST_F(ReportPdfTest, ALongTableRepeatsItsColumnHeaderAndNumbersItsPages) {
    ComponentList list;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        const std::string code = "H" + std::to_string(100 + i);
        list.push_back(samples::withPoints(code, 1 + i % 3));
        expected.push_back(code);
    }
    const auto pages = print(ReportKind::Thickness, list, std::vector<bool>(40, true));
    ASSERT_EQ(pages.size(), 3u);
    std::vector<std::string> printed;
    std::vector<std::size_t> perPage;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p].front(), "钢筋混凝土保护层厚度检测记录表");
        EXPECT_THAT(pages[p], Contains(HasSubstr("构件编号 构件名称")));
        EXPECT_THAT(pages[p], Contains(HasSubstr("保护层厚度实测值(mm)")));
        EXPECT_EQ(pages[p].back(), "第" + std::to_string(p + 1) + "页共3页");
        std::size_t rows = 0;
        for (const auto& line : pages[p]) {
            if (line.rfind("H1", 0) == 0) {
                printed.push_back(line.substr(0, 4));
                ++rows;
            }
        }
        perPage.push_back(rows);
    }
    EXPECT_EQ(printed, expected);
    EXPECT_EQ(perPage[0], perPage[1]);  // full pages, then the rest
    EXPECT_GT(perPage[0], perPage[2]);
}
