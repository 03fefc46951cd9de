#pragma once

#include <string>
#include <vector>

#include "model/Result.h"
#include "report/WorkbookSheet.h"

// Writes sheets as an Excel workbook (.xlsx) with libxlsxwriter. The library writes files only:
// the workbook is made in a private temporary folder (its own working files too) and read
// back, so the caller hands complete bytes to the careful save or to a pipe, and a failure
// leaves nothing behind. Any thread; no Qt object is shared.
class XlsxWorkbook {
public:
    // The workbook's bytes, or why it could not be made ("生成 Excel 工作簿失败：…"): a
    // sheet past the spreadsheet's limits, no room for the temporary files.
    static Result<std::string> bytes(const std::vector<WorkbookSheet>& sheets);
};
