#pragma once

#include <filesystem>

#include "report/ReportPresenter.h"

// Prints and previews into a PDF file: the output of the command line and of the tests,
// where there is no one to show a dialog to.
class PdfReportPresenter : public ReportPresenter {
public:
    explicit PdfReportPresenter(std::filesystem::path path) : path_(std::move(path)) {}

    Status print(Report& report, bool showPrintDialog) override;
    Status preview(Report& report, bool modal) override;

private:
    std::filesystem::path path_;
};
