#include "report/ReportRun.h"

#include "report/AcceptanceRows.h"
#include "report/ReportRows.h"
#include "report/TableTemplate.h"

Result<ReportRun::Done> ReportRun::run(Request request,
                                       const std::function<void(const std::string&)>& notify) {
    const ReportTable& table = request.table;
    const char* verb = request.output == Output::Preview ? "预览"
                       : request.output == Output::Rows  ? "生成"
                                                         : "打印";
    const auto failed = [&](const std::string& why) {
        return Error{verb + std::string(table.title) + "失败：" + why};
    };

    if (table.source == RowSource::Judgement &&
        (!request.judgement || request.judgement->rows.empty())) {
        return failed(std::string(noJudgedComponents));
    }

    Done done;
    done.report = std::make_unique<Report>(request.presenter);
    // A found template that cannot be used is named, and the built-in copy prints instead.
    TableTemplate::Choice layout = TableTemplate::choose(table, request.templateFolder);
    if (!layout.problem.empty()) notify(layout.problem);
    done.report->setTemplate(std::move(layout.layout));
    if (const std::string notice = blankTableNotice(table.kind, request.components, request.ticked);
        !notice.empty()) {
        notify(notice);
    }
    done.sink = std::make_unique<CReportEvent>(
        *done.report, request.info, request.components, std::move(request.ticked), table,
        std::move(request.judgement), request.classesUnconfirmed, std::move(request.editMarks));
    if (table.source == RowSource::Given) {
        done.sink->setGivenRows(std::move(request.givenRows), std::move(request.givenDate));
    }
    if (Status s = done.report->connectEvents(done.sink.get()); !s) return failed(s.message());

    Status s;
    switch (request.output) {
        case Output::Print:
            s = done.report->print(true);
            break;
        case Output::Preview:
            s = done.report->printPreview(true);
            break;
        case Output::Pdf: {
            Result<QByteArray> pdf = done.report->pdf();
            if (pdf) done.pdf = std::move(pdf).value();
            s = pdf ? Status() : Status::failure(pdf.message());
            break;
        }
        case Output::Rows:
            s = done.report->generate();
            break;
    }
    if (!s) return failed(s.message());
    return done;
}
