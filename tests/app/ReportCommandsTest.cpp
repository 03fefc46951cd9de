#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QSpinBox>

#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/ReportCommands.h"
#include "dialogs/CCheckListCtrl.h"
#include "dialogs/CDlgExportTables.h"
#include "dialogs/CDlgShowUploadData.h"
#include "display/SummaryLayout.h"
#include "model/ComponentSummary.h"
#include "model/GbkCodec.h"
#include "model/ProjectFile.h"
#include "report/PdfReportPresenter.h"
#include "report/Report.h"
#include "support/FakeSessionUi.h"
#include "support/FireCommand.h"
#include "support/ModalDriver.h"
#include "support/ModelSamples.h"
#include "support/PdfText.h"
#include "support/ProgramRun.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using samples::withPoints;
using Pages = std::vector<std::vector<std::string>>;
using Ticks = std::optional<std::vector<bool>>;

namespace {

const QString tip = QStringLiteral("提示信息");

// Writes the PDF and notes which call made it.
struct Recorder : PdfReportPresenter {
    using PdfReportPresenter::PdfReportPresenter;
    Status print(Report& r, bool dialog) override {
        calls += dialog ? "print" : "print-without-dialog";
        return PdfReportPresenter::print(r, dialog);
    }
    Status preview(Report& r, bool modal) override {
        calls += modal ? "preview" : "modeless-preview";
        return PdfReportPresenter::preview(r, modal);
    }
    std::string calls;
};

// The codes that begin lines, pages parted by "\f".
std::string rowCodes(const Pages& pages) {
    std::string codes;
    for (const auto& page : pages) {
        if (&page != &pages.front()) codes += '\f';
        for (const auto& line : page)
            if (line.find_first_of("HZWP") == 0 && line.find(' ') == 4) codes += line.substr(0, 5);
    }
    return codes;
}

// A workbook read back: its sheets, merges and cells with their types, as JSON.
std::string workbook(const std::filesystem::path& file) {
    const ProgramRun r = runProgram(CORVANE_PYTHON, {CORVANE_XLSX_DUMP, file.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
}

// Answers 导出 Excel's dialog: the boxes listed are unticked, then OK; no list: 取消.
void answerTables(std::optional<std::vector<int>> unticked) {
    onNextModal<CDlgExportTables>([unticked](CDlgExportTables* d) {
        if (!unticked) return d->reject();
        for (int box : *unticked) d->boxes().at(static_cast<std::size_t>(box))->setChecked(false);
        clickButton(d, QStringLiteral("确定"));
    });
}

class ReportCommandsTest : public testing::Test {
protected:
    // Opens the saved project "Bridge 7": a grid, a profile, a thickness, a diameter component.
    void open(const ComponentList& components = {withPoints("W001", 3, 2), withPoints("P001", 4),
                                                 withPoints("H001", 2), withPoints("Z001", 3)}) {
        ProjectInfo info;
        info.projectName.assign("Bridge 7");
        ASSERT_TRUE(ProjectFile::save(dir / "b.pro", info, components).ok());
        session.project().clear();  // no save prompt
        prompter.expectOpen("project", path);
        session.OnOpenProject();
    }
    std::unique_ptr<ReportCommands> commands(const QString& folder = {}) {
        auto presenter = std::make_unique<Recorder>(pdf);
        recorder = presenter.get();
        return std::make_unique<ReportCommands>(session, ui, prompter, std::move(presenter),
                                                folder);
    }
    // Runs command `id` with `ticks` from the dialog: the pages written, none when none were.
    Pages run(ReportCommands& c, int id, Ticks ticks) {
        std::filesystem::remove(pdf);
        recorder->calls.clear();
        ui.ticks = std::move(ticks);
        EXPECT_TRUE(c.onCommand(id));
        return pdfPages(pdf.string());
    }

    TempDir dir;
    const QString path = QString::fromStdString((dir / "b.pro").string());
    std::filesystem::path pdf = dir / "out.pdf";
    Recorder* recorder = nullptr;
    ScriptedPrompter prompter;
    FakeSessionUi ui;
    ProjectSession session{prompter, ui};
    const std::vector<bool> all = {true, true, true, true};
};

}  // namespace

TEST_F(ReportCommandsTest, TheRunEndsSilentlyWithoutComponentsOnCancelAndWithNothingTicked) {
    auto c = commands();
    EXPECT_FALSE(c->onCommand(ID_FILE_PRINT));
    EXPECT_TRUE(run(*c, ID_PRINT_SPACING, all).empty());  // no project
    open({});
    EXPECT_TRUE(run(*c, ID_PREVIEW_SPACING, all).empty());
    EXPECT_TRUE(ui.dialogs.isEmpty());

    open();
    ASSERT_FALSE(run(*c, ID_PRINT_SPACING, all).empty());
    const Report* first = c->report();
    for (const Ticks& ticks : {Ticks(), Ticks(std::vector<bool>(4))}) {
        EXPECT_TRUE(run(*c, ID_PREVIEW_THICKNESS, ticks).empty());
        EXPECT_EQ(c->report(), first);  // kept until a run gets past the dialog
        EXPECT_EQ(c->reportKind(), ReportKind::Thickness);
    }
    EXPECT_EQ(ui.dialogs, QStringList(3, "0 " + path));
}

TEST_F(ReportCommandsTest, EachTableCommandRunsItsTableAndTheAgainCommandsRepeatTheLast) {
    auto c = commands();
    open();
    const struct {
        int id;
        const char *table, *call;
        std::vector<bool> ticks;
        const char* rows;
    } cases[] = {
        {ID_PRINT_THICKNESS, "Depth", "print", all, "W001 W001 P001 H001 "},
        {ID_PREVIEW_THICKNESS, "Depth", "preview", {0, 1, 1, 1}, "P001 H001 "},
        {ID_PRINT_DIAMETER, "Diameter", "print", all, "Z001 "},
        {ID_PREVIEW_DIAMETER, "Diameter", "preview", all, "Z001 "},
        {ID_PRINT_SPACING, "Distance", "print", {1, 0, 0, 0}, "W001 W001 "},
        {ID_PREVIEW_SPACING, "Distance", "preview", all, "W001 W001 P001 "},
        {ID_PRINT_AGAIN, "Distance", "print", {0, 1, 0, 1}, "P001 "},
        {ID_PREVIEW_AGAIN, "Distance", "preview", all, "W001 W001 P001 "},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.id);
        const Pages pages = run(*c, k.id, k.ticks);
        EXPECT_EQ(c->templateFileName(), QStringLiteral("Vexo%1Report.grf").arg(k.table));
        EXPECT_EQ(recorder->calls, k.call);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_EQ(pages[0][0], c->report()->title().toStdString());
        EXPECT_EQ(pages[0][1].substr(0, 21), "工程名称 Bridge 7");
        EXPECT_EQ(rowCodes(pages), k.rows);
    }
}

TEST_F(ReportCommandsTest, BuiltInTemplatesStandInAndABlankTableIsAnnounced) {
    const QString folder = QString::fromStdString(dir.path().string());
    auto c = commands(folder);  // no templates there: the built-in copies, without a word
    open();
    Pages pages = run(*c, ID_PRINT_DIAMETER, all);
    EXPECT_EQ(rowCodes(pages), "Z001 ");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0][0], "钢筋公称直径检测记录表");

    TempDir::write(dir / "VexoDiameterReport.grf", "{");
    prompter.expectMessageContaining(
        tip,
        QString::fromStdString("报表模板 " + (dir / "VexoDiameterReport.grf").string() +
                               " 无法使用：不是有效的 JSON"),
        Prompter::Icon::Information);
    prompter.expectMessageContaining(
        tip, QStringLiteral("所选构件中没有可填入《钢筋公称直径检测记录表》的数据，将输出空白表。"),
        Prompter::Icon::Information);
    pages = run(*c, ID_PREVIEW_DIAMETER, std::vector<bool>{true, true, true, false});
    ASSERT_EQ(pages.size(), 1u);  // the blank form
    EXPECT_EQ(pages[0][0], "钢筋公称直径检测记录表");
    EXPECT_EQ(rowCodes(pages), "");

    c = commands();  // before any table was chosen there is nothing to print
    for (int id : {ID_PRINT_AGAIN, ID_PREVIEW_AGAIN}) EXPECT_TRUE(run(*c, id, all).empty());
    EXPECT_EQ(c->report(), nullptr);
    EXPECT_EQ(ui.dialogs.size(), 2);
}

TEST_F(ReportCommandsTest, AFailingReportCallAbandonsTheCommandWithItsMessage) {
    open();
    pdf = dir / "missing" / "x.pdf";
    auto c = commands();
    for (const auto& [id, call] :
         {std::pair(ID_PRINT_SPACING, "打印"), {ID_PREVIEW_SPACING, "预览"}}) {
        prompter.expectMessageContaining(
            tip, call + QStringLiteral("钢筋间距检测记录表失败：无法在文件夹"),
            Prompter::Icon::Error);
        run(*c, id, all);
    }
}

TEST_F(ReportCommandsTest, PrintingTheViewPagesEveryRowOfTheShownTypeUnderTheBandsCaptions) {
    auto c = commands();
    c->printView(DetectionType::Profile);  // no project
    ComponentList list;
    std::string profiles;
    for (int i = 1; i <= 45; ++i) {
        list.push_back(
            withPoints(QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0')).toStdString(), i % 7));
        profiles += list.back().code.str() + (i == 19 || i == 38 ? " \f" : " ");  // 19 rows a page
        if (i % 20 == 0) list.push_back(withPoints("H0" + std::to_string(i), 2));
    }
    open(list);
    c->printView(DetectionType::Unknown);  // no view mode
    EXPECT_FALSE(std::filesystem::exists(pdf));

    c->printView(DetectionType::Profile);
    const Pages pages = pdfPages(pdf.string());
    EXPECT_EQ(recorder->calls, "preview");
    EXPECT_EQ(rowCodes(pages), profiles);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        ASSERT_GT(pages[i].size(), 4u);
        EXPECT_EQ(pages[i][0] + pages[i][1], "剖面构件列表工程名称 Bridge 7");
        EXPECT_EQ(pages[i][3].rfind("构件编码 构件名称 日期 类型", 0), 0u);
        EXPECT_EQ(pages[i].back(), "第" + std::to_string(i + 1) + "页共3页");
    }
    // A row holds the summary's texts in the band's order.
    const ComponentSummary s = BuildComponentSummary(*std::next(list.begin(), 5));
    std::string row = "P006";
    for (const SummaryColumn& col : SummaryLayout::columns(SummaryLayoutKind::ProfileGrid, 1.0f))
        if (col.field && !s[col.field].empty()) row += " " + gbk::toUtf8(s[col.field]);
    EXPECT_EQ(linesStartingWith(pages[0], {"P006"}), std::vector<std::string>{row});

    c->printView(DetectionType::Thickness);
    EXPECT_EQ(rowCodes(pdfPages(pdf.string())), "H020 H040 ");
}

TEST(ReportCommandsFrameTest, TheFramePreviewsAndReleasesTheReportWhenTheWindowCloses) {
    ScriptedPrompter prompter;
    CMainFrame frame(prompter, nullptr);
    frame.newDocument();
    frame.show();
    frame.project().open(ProjectInfo{}, {withPoints("P001", 4)});
    // 打印设置 chooses on the printer the prints use, and offers no paper: the template's.
    QPrinter* setUp = nullptr;
    onNextModal<QPrintDialog>([&](QPrintDialog* d) {
        setUp = d->printer();
        EXPECT_FALSE(d->testOption(QAbstractPrintDialog::PrintShowPageSize));
        auto* copies = d->findChild<QSpinBox*>(QStringLiteral("copies"));
        ASSERT_NE(copies, nullptr);
        copies->setValue(3);
        d->accept();
    });
    fireCommand(frame, ID_FILE_PRINT_SETUP);
    ASSERT_NE(setUp, nullptr);
    // The next 打印 starts with the choice.
    onNextModal<CDlgShowUploadData>([&](CDlgShowUploadData* d) {
        d->componentList()->setChecked(0, true);
        d->accept();
        onNextModal<QPrintDialog>([&](QPrintDialog* p) {
            EXPECT_EQ(p->printer(), setUp);
            EXPECT_EQ(p->findChild<QSpinBox*>(QStringLiteral("copies"))->value(), 3);
            EXPECT_FALSE(p->testOption(QAbstractPrintDialog::PrintShowPageSize));
            p->reject();
        });
    });
    fireCommand(frame, ID_PRINT_SPACING);

    QStringList titles;
    const auto closePreview = [&](QPrintPreviewDialog* p) {
        titles << p->windowTitle();
        EXPECT_EQ(p->printer(), setUp);
        p->reject();
    };
    onNextModal<CDlgShowUploadData>([&](CDlgShowUploadData* d) {
        d->componentList()->setChecked(0, true);
        d->accept();
        onNextModal<QPrintPreviewDialog>(closePreview);
    });
    fireCommand(frame, ID_PREVIEW_SPACING);
    ASSERT_TRUE(frame.reports().report());
    EXPECT_EQ(frame.reports().report()->records().size(), 1u);

    fireCommand(frame, ID_VIEW_PROFILE);
    onNextModal<QPrintPreviewDialog>(closePreview);
    frame.action(ID_FILE_PRINT)->trigger();
    EXPECT_EQ(titles, QStringList({QStringLiteral("打印预览 - 钢筋间距检测记录表"),
                                   QStringLiteral("打印预览 - 剖面构件列表")}));

    const QString ask = "是否保存对" + frame.windowTitle() + "的更改？";
    prompter.expectQuestion(tip, ask, Prompter::Answer::Dismissed);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.reports().report());
    prompter.expectQuestion(tip, ask, Prompter::Answer::No);
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.reports().report());
}

// The judgement table ticks nothing: it takes the classed components, and without one it says
// so and prints nothing. The repeat commands know it as the fourth table.
TEST(ReportCommandsFrameTest, TheAcceptanceTableTakesTheClassedComponentsWithoutATickDialog) {
    ScriptedPrompter prompter;
    CMainFrame frame(prompter, nullptr);
    frame.newDocument();
    frame.show();
    frame.project().open(ProjectInfo{}, {withPoints("Z001", 2), withPoints("H001", 3)});
    prompter.expectMessage(tip, "没有参与判定的构件", Prompter::Icon::Information);
    fireCommand(frame, ID_PRINT_ACCEPTANCE);
    prompter.expectDone();
    EXPECT_FALSE(frame.reports().report());

    const Component* beam = &frame.project().components().back();
    ASSERT_TRUE(frame.session().document().setAcceptanceMarks({{beam, AcceptanceMark{}}}));
    QString title;
    onNextModal<QPrintPreviewDialog>([&](QPrintPreviewDialog* p) {
        title = p->windowTitle();
        p->reject();
    });
    fireCommand(frame, ID_PREVIEW_ACCEPTANCE);
    EXPECT_EQ(title, QStringLiteral("打印预览 - 钢筋保护层厚度验收判定表"));
    ASSERT_TRUE(frame.reports().report());
    EXPECT_EQ(frame.reports().reportKind(), ReportKind::Acceptance);
    // One row, then the notes, which leave the code empty.
    const auto& records = frame.reports().report()->records();
    ASSERT_GT(records.size(), 1u);
    EXPECT_EQ(reportValueText(records[0][0]), "H001");
    EXPECT_EQ(reportValueText(records[1][0]), "");

    onNextModal<QPrintDialog>([&](QPrintDialog* d) {
        title = d->windowTitle();
        d->reject();
    });
    fireCommand(frame, ID_PRINT_AGAIN);
    EXPECT_EQ(title, QStringLiteral("打印 - 钢筋保护层厚度验收判定表"));
}

// 导出 Excel… writes the workbook corvane-cli writes of the same tables and components; the
// judgement table alone asks for no components.
TEST_F(ReportCommandsTest, ExportExcelWritesTheWorkbookOfTheCommandLine) {
    auto c = commands();
    open();
    const Component* h001 = &*std::next(session.project().components().begin(), 2);
    ASSERT_TRUE(session.document().setAcceptanceMarks({{h001, AcceptanceMark{}}}));
    ASSERT_TRUE(session.document().setField(2, ComponentField::DesignCover, 47));
    ASSERT_TRUE(session.document().save(path).ok());  // where the command line reads the edit
    const std::string pro = path.toStdString();
    const struct {
        std::vector<int> unticked;  // of thickness, diameter, spacing, acceptance
        Ticks ticks;
        std::vector<std::string> cli;
        bool markEdits = false;
    } cases[] = {
        {{1, 3},
         std::vector<bool>{1, 1, 0, 1},
         {"report", pro, "--table", "thickness", "--table", "spacing", "--components",
          "W001,P001,Z001"}},
        {{0, 1, 2}, std::nullopt, {"judge", pro, "--beam", "H001"}},
        {{1, 2, 3}, all, {"report", pro, "--table", "thickness", "--mark-edits"}, true},
    };
    for (const auto& k : cases) {
        const auto book = dir / "b.xlsx";
        answerTables(k.unticked);
        ui.ticks = k.ticks;
        ui.markEdits = k.markEdits;
        ui.dialogs.clear();
        prompter.expectSave("b", QString::fromStdString(book.string()),
                            QStringLiteral("Excel 工作簿(*.xlsx)|*.xlsx|"));
        EXPECT_TRUE(c->onCommand(ID_EXPORT_EXCEL));
        prompter.expectDone();
        EXPECT_EQ(ui.dialogs.size(), k.ticks ? 1 : 0);

        std::vector<std::string> args = k.cli;
        args.insert(args.end(), {"-o", (dir / "cli.xlsx").string()});
        ASSERT_EQ(runCli(args).status, 0);
        EXPECT_EQ(workbook(book), workbook(dir / "cli.xlsx"));
    }
}

// Nothing is written when the dialog is cancelled; a table nobody fills is told as for
// printing, and a file that cannot be written is told and not made.
TEST_F(ReportCommandsTest, ExportExcelTellsWhatPrintingTellsAndFailsWithTheSavesMessage) {
    auto c = commands();
    open();
    answerTables(std::nullopt);
    EXPECT_TRUE(c->onCommand(ID_EXPORT_EXCEL));
    EXPECT_TRUE(ui.dialogs.isEmpty());

    for (const auto& book : {dir / "missing" / "d.xlsx", dir / "d.xlsx"}) {
        answerTables(std::vector<int>{0, 2});
        ui.ticks = std::vector<bool>{1, 1, 1, 0};  // no diameter component
        prompter.expectSave("b", QString::fromStdString(book.string()));
        prompter.expectMessage(
            tip,
            QStringLiteral("所选构件中没有可填入《钢筋公称直径检测记录表》的数据，将输出空白表。"),
            Prompter::Icon::Information);
        if (book.parent_path() != dir.path()) {
            prompter.expectMessageContaining(tip, QStringLiteral("无法在文件夹"),
                                             Prompter::Icon::Error);
        }
        c->onCommand(ID_EXPORT_EXCEL);
        prompter.expectDone();
        EXPECT_EQ(std::filesystem::exists(book), book.parent_path() == dir.path());
    }
}
