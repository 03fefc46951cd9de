#include "report/PdfReportPresenter.h"

#include "report/Report.h"

Status PdfReportPresenter::print(Report& report, bool) {
    return report.writePdf(path_);
}

Status PdfReportPresenter::preview(Report& report, bool) {
    return report.writePdf(path_);
}
