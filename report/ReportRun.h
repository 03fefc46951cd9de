#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "model/ComponentList.h"
#include "model/EditMarks.h"
#include "model/ProjectInfo.h"
#include "model/Result.h"
#include "report/CReportEvent.h"
#include "report/Report.h"
#include "report/ReportRows.h"
#include "report/ReportTables.h"

class ReportPresenter;

// One record table run, for the program and the command line alike: the table's template
// (TableTemplate), a report filled by a CReportEvent from the ticked components, and the
// output. GUI thread only.
class ReportRun {
public:
    enum class Output {
        Print,    // through the presenter's print
        Preview,  // through the presenter's preview
        Pdf,      // rendered into `Done::pdf`
        Rows,     // generated only: the parameters and rows are in the report
    };

    struct Request {
        const ReportTable& table;
        const ProjectInfo& info;          // read, never copied: must outlive the result
        const ComponentList& components;  // likewise
        std::vector<bool> ticked = {};    // at least one component (see anyTicked)
        Output output = Output::Rows;
        ReportPresenter* presenter = nullptr;  // for Print and Preview; not owned
        QString templateFolder = {};           // TableTemplate::choose's folder
        // A judgement table's rows, judged once by the caller; it needs at least one classed
        // component and ignores `ticked`.
        std::optional<AcceptanceJudgement> judgement = std::nullopt;
        bool classesUnconfirmed = false;  // the judgement table says so
        // A table of given rows (the history): its rows, and the date its header shows.
        std::vector<ReportRow> givenRows = {};
        std::string givenDate = {};
        // A points table marks these edited values with "*" and says so under its rows.
        std::optional<EditMarks> editMarks = std::nullopt;
    };

    // What a run leaves: the report and its sink stay connected until the caller drops them
    // (the program keeps them until its next run); the sink refers to the report, so it goes
    // first.
    struct Done {
        std::unique_ptr<Report> report;
        std::unique_ptr<CReportEvent> sink;
        QByteArray pdf;  // Output::Pdf only

        Done() = default;
        Done(Done&&) = default;
        Done& operator=(Done&&) = default;
        ~Done() {
            if (report) report->disconnectEvents();
            sink.reset();
        }
    };

    // `notify` gets, before the output, what the user must be told: a template file that
    // could not be used, a table no ticked component fills. A judgement table without a
    // classed component fails with noJudgedComponents and prints nothing. A failure is worded as
    // the program shows it: "打印<table>失败：<why>" (or 预览, 生成 for rows alone).
    static Result<Done> run(Request request, const std::function<void(const std::string&)>& notify);
};
