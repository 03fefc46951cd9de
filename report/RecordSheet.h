#pragma once

#include <string>
#include <vector>

#include "report/ReportContent.h"
#include "report/ReportRows.h"
#include "report/ReportTemplate.h"
#include "report/WorkbookSheet.h"

// A record table as a worksheet laid out like its printed page: the title across the table,
// the header boxes with their labels and values, the column captions (merged where a group
// spans columns or a caption both levels), one row per detail row with the same texts, numbers
// as numbers and note rows across the table, then the signature line. The columns keep the
// template's proportions; the boxes, captions and signature fields take the columns nearest
// their printed edges. The sheet prints on the template's paper and orientation with the
// captions repeated on every page and the template's page number in the footer.
class RecordSheet {
public:
    // `content` is what the report generated with `layout`; `name` names the sheet. `edits`
    // gives the edited values of each detail row (buildRowNotes): their cells are marked.
    static WorkbookSheet build(std::string name, const ReportTemplate& layout,
                               const ReportContent& content,
                               const std::vector<RowNotes>& edits = {});
};
