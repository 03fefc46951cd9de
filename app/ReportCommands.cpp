#include "app/ReportCommands.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <filesystem>

#include "app/CommandIds.h"
#include "app/ViewTableReport.h"
#include "dialogs/CDlgExportTables.h"
#include "document/HistoryText.h"
#include "model/AcceptanceJudgement.h"
#include "model/DetectionType.h"
#include "model/FileIo.h"
#include "report/AcceptanceRows.h"
#include "report/HistoryRows.h"
#include "report/Report.h"
#include "report/ReportPresenter.h"
#include "report/ReportRun.h"
#include "report/ReportWorkbook.h"
#include "session/ComponentChooser.h"
#include "session/ProjectSession.h"
#include "session/Prompter.h"

ReportCommands::ReportCommands(ProjectSession& session, ComponentChooser& chooser,
                               Prompter& prompter, std::unique_ptr<ReportPresenter> presenter,
                               QString templateFolder)
    : session_(session),
      chooser_(chooser),
      prompter_(prompter),
      presenter_(std::move(presenter)),
      templateFolder_(std::move(templateFolder)) {}

ReportCommands::~ReportCommands() {
    release();
}

bool ReportCommands::onCommand(int id) {
    if (id == ID_PRINT_AGAIN) {
        OnPrintReport();
        return true;
    }
    if (id == ID_PREVIEW_AGAIN) {
        OnPreviewReport();
        return true;
    }
    if (id == ID_EXPORT_EXCEL) {
        exportWorkbook();
        return true;
    }
    const auto* command = std::find_if(
        std::begin(reportTableCommands), std::end(reportTableCommands),
        [id](const ReportTableCommand& c) { return c.print == id || c.preview == id; });
    if (command == std::end(reportTableCommands)) return false;
    kind_ = command->kind;
    templateFileName_ = QString::fromUtf8(reportTable(kind_)->templateFile);
    run(id == command->preview);
    return true;
}

void ReportCommands::OnPrintReport() {
    run(false);
}

void ReportCommands::OnPreviewReport() {
    run(true);
}

void ReportCommands::release() {
    last_ = {};
}

void ReportCommands::run(bool preview) {
    const Project& project = session_.project();
    const ComponentList& components = project.components();
    // Before any table was chosen (32802, 32803 first) there is no table to print.
    const ReportTable* table = reportTable(kind_);
    if (components.empty() || !project.info() || !table) return;
    const auto tell = [this](const std::string& notice) {
        prompter_.message(QStringLiteral("提示信息"), QString::fromStdString(notice),
                          Prompter::Icon::Information);
    };
    std::optional<std::vector<bool>> ticked;
    std::optional<AcceptanceJudgement> judgement;
    std::vector<ReportRow> givenRows;
    if (table->source == RowSource::Given) {
        // The history as 修改记录 lists it; no component is ticked.
        const HistoryChain::Entries& history = session_.document().history();
        givenRows = buildHistoryRows(
            HistoryText::newestFirst(history),
            HistoryChain::stateText(HistoryChain::verify(history), history.size()));
        ticked.emplace(components.size(), true);
    } else if (!table->ticksComponents()) {
        // The judgement takes every classed component: there is nothing to tick.
        judgement = judgeAcceptance(components, session_.acceptanceMarks());
        if (judgement->rows.empty()) {
            tell(std::string(noJudgedComponents));
            return;
        }
        ticked.emplace(components.size(), true);
    } else {
        ticked = chooser_.choosePrintComponents(components, session_.projectPath(), markEdits_);
        if (!ticked || !anyTicked(*ticked)) return;
    }

    release();
    ReportRun::Request request{*table,
                               *project.info(),
                               components,
                               std::move(*ticked),
                               preview ? ReportRun::Output::Preview : ReportRun::Output::Print,
                               presenter_.get(),
                               templateFolder_,
                               std::move(judgement),
                               !session_.document().classesConfirmed()};
    request.givenRows = std::move(givenRows);
    request.givenDate = QDate::currentDate().toString(Qt::ISODate).toStdString();
    if (markEdits_ && table->ticksComponents()) {
        request.editMarks = session_.document().origins().marks(components);
    }
    Result<ReportRun::Done> done = ReportRun::run(std::move(request), tell);
    if (!done) {
        prompter_.message(QStringLiteral("提示信息"), QString::fromStdString(done.message()),
                          Prompter::Icon::Error);
        return;
    }
    last_ = std::move(done).value();
}

void ReportCommands::exportWorkbook() {
    const Project& project = session_.project();
    const ComponentList& components = project.components();
    if (components.empty() || !project.info()) return;
    AcceptanceJudgement judgement = judgeAcceptance(components, session_.acceptanceMarks());
    std::vector<const ReportTable*> offered;
    QStringList titles;
    for (const ReportTable& t : reportTables()) {
        if (t.ticksComponents() || (t.source == RowSource::Judgement && !judgement.rows.empty())) {
            offered.push_back(&t);
            titles << QString::fromUtf8(t.title);
        }
    }
    CDlgExportTables dialog(titles, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted) return;
    std::vector<const ReportTable*> tables;
    const std::vector<bool> chosen = dialog.ticked();
    for (std::size_t i = 0; i < offered.size(); ++i) {
        if (chosen[i]) tables.push_back(offered[i]);
    }
    const bool ticksComponents = std::any_of(
        tables.begin(), tables.end(), [](const ReportTable* t) { return t->ticksComponents(); });
    std::vector<bool> ticked;
    if (ticksComponents) {
        std::optional<std::vector<bool>> answer =
            chooser_.choosePrintComponents(components, session_.projectPath(), markEdits_);
        if (!answer || !anyTicked(*answer)) return;
        ticked = std::move(*answer);
    } else if (!tables.empty()) {
        ticked = ReportWorkbook::judged(components, judgement);  // the judgement table alone
    } else {
        return;
    }

    const QString name = QFileInfo(session_.projectFileName()).completeBaseName();
    const std::optional<QString> path = prompter_.saveFile(
        {name.isEmpty() ? QStringLiteral("记录表") : name, QStringLiteral("xlsx"),
         QStringLiteral("Excel 工作簿(*.xlsx)|*.xlsx|"), true, true});
    if (!path) return;

    ReportWorkbook::Request request{tables, *project.info(), components, std::move(ticked),
                                    templateFolder_};
    if (std::any_of(tables.begin(), tables.end(),
                    [](const ReportTable* t) { return !t->ticksComponents(); })) {
        request.judgement = std::move(judgement);
        request.classesUnconfirmed = !session_.document().classesConfirmed();
    }
    if (ticksComponents && markEdits_) {
        request.editMarks = session_.document().origins().marks(components);
    }
    const Result<std::string> bytes =
        ReportWorkbook::bytes(request, [this](const std::string& notice) {
            prompter_.message(QStringLiteral("提示信息"), QString::fromStdString(notice),
                              Prompter::Icon::Information);
        });
    const Status saved =
        bytes ? FileIo::writeAtomically(std::filesystem::path(path->toStdU16String()), *bytes)
              : Status::failure(bytes.message());
    if (!saved) {
        prompter_.message(QStringLiteral("提示信息"), QString::fromStdString(saved.message()),
                          Prompter::Icon::Error);
    }
}

void ReportCommands::printView(DetectionType shownType) {
    const Project& project = session_.project();
    if (!project.info() || shownType == DetectionType::Unknown) return;
    Report report(presenter_.get());
    report.setTemplate(ViewTableReport::layout(shownType));
    ViewTableReport sink(report, project, shownType);
    Status s = report.connectEvents(&sink);
    if (s) s = report.printPreview(true);
    report.disconnectEvents();
    if (!s) tellFailure(QStringLiteral("打印") + report.title(), s);
}

void ReportCommands::tellFailure(const QString& what, const Status& status) {
    prompter_.message(QStringLiteral("提示信息"),
                      what + QStringLiteral("失败：") + QString::fromStdString(status.message()),
                      Prompter::Icon::Error);
}
