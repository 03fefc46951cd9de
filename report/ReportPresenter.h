#pragma once

#include "model/Status.h"

class Report;

// How a report reaches the user. The program shows the print and the print preview dialogs
// and renders onto the printer they give (Report::applyPageLayout before showing,
// Report::render for every page request); the command line and the tests write a PDF.
// Called on the GUI thread by Report::print and Report::printPreview.
class ReportPresenter {
public:
    virtual ~ReportPresenter() = default;

    // Success when printed and when the user cancelled; otherwise the render's failure.
    virtual Status print(Report& report, bool showPrintDialog) = 0;
    virtual Status preview(Report& report, bool modal) = 0;
};
