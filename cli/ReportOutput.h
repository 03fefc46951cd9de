#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "report/ReportRun.h"

// The command line's report run, for every command that prints a record table: an offscreen
// application for painting, the report fonts, the notices on `err`. With `pdfOutput` the PDF
// is written there ("-": `out`); without, the report goes to `rows`. Returns the exit status:
// 0, or 1 with the reason on `err`.
int runReportOutput(const ReportRun::Request& request, const std::optional<std::string>& pdfOutput,
                    const std::function<void(const Report&)>& rows, std::ostream& out,
                    std::ostream& err);
