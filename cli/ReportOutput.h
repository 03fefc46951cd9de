#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "cli/CliArguments.h"
#include "report/ReportRun.h"
#include "report/ReportWorkbook.h"

// The command line's report run, for every command that prints a record table: an offscreen
// application for painting, the report fonts, the notices on `err`. With `pdfOutput` the PDF
// is written there ("-": `out`); without, the report goes to `rows`. Returns the exit status:
// 0, or 1 with the reason on `err`.
int runReportOutput(const ReportRun::Request& request, const std::optional<std::string>& pdfOutput,
                    const std::function<void(const Report&)>& rows, std::ostream& out,
                    std::ostream& err);

// What is wrong with --format (pdf or xlsx, and only with -o); empty when nothing is.
std::string outputFormatProblem(const CliArguments& args);

// Whether -o writes an Excel workbook: --format xlsx, or without --format a name ending in
// ".xlsx" (in any case). Standard output ("-") takes the PDF unless --format says otherwise.
bool writesWorkbook(const CliArguments& args);

// The workbook of `request` written to `target` ("-": `out`) by the same careful save as a PDF,
// the notices on `err`. Returns the exit status as runReportOutput does.
int runWorkbookOutput(const ReportWorkbook::Request& request, const std::string& target,
                      std::ostream& out, std::ostream& err);
