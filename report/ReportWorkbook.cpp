#include "report/ReportWorkbook.h"

#include <set>

#include "report/ProjectSheets.h"
#include "report/RecordSheet.h"
#include "report/Report.h"
#include "report/ReportRows.h"
#include "report/ReportRun.h"
#include "report/XlsxWorkbook.h"

Result<std::string> ReportWorkbook::bytes(const Request& request,
                                          const std::function<void(const std::string&)>& notify) {
    std::vector<WorkbookSheet> sheets;
    for (const ReportTable* table : request.tables) {
        ReportRun::Request run{*table, request.info, request.components, request.ticked};
        run.templateFolder = request.templateFolder;
        if (table->source == RowSource::Judgement) {
            run.judgement = request.judgement;
            run.classesUnconfirmed = request.classesUnconfirmed;
        }
        Result<ReportRun::Done> done = ReportRun::run(std::move(run), notify);
        if (!done) return Error{done.message()};
        // The sheet is named by the table, whatever title a restyled template prints.
        const std::vector<RowNotes> edits =
            request.editMarks && table->source == RowSource::Points
                ? buildRowNotes(table->kind, request.components, request.ticked, *request.editMarks)
                : std::vector<RowNotes>();
        sheets.push_back(RecordSheet::build(std::string(table->title), *done->report->layout(),
                                            done->report->content(), edits));
    }
    sheets.push_back(ProjectSheets::components(request.components, request.ticked));
    sheets.push_back(ProjectSheets::points(request.components, request.ticked,
                                           request.editMarks ? &*request.editMarks : nullptr));
    return XlsxWorkbook::bytes(sheets);
}

std::vector<bool> ReportWorkbook::judged(const ComponentList& components,
                                         const AcceptanceJudgement& judgement) {
    std::set<const Component*> taken;
    for (const AcceptanceRow& row : judgement.rows) taken.insert(row.component);
    std::vector<bool> ticked;
    for (const Component& c : components) ticked.push_back(taken.count(&c) != 0);
    return ticked;
}
