#pragma once

#include <vector>

#include "model/ComponentList.h"
#include "model/EditMarks.h"
#include "report/WorkbookSheet.h"

// The sheets of a workbook beside its record tables, of the ticked components (a component past
// the end of `ticked` is not ticked): 构件, a row each with the fifteen summary texts the
// program's tables and corvane-cli show --json give; 测点, a row each of their points with the
// columns of corvane-cli export-csv, numbers as numbers; with `marks` each edited value (a
// point's, or its component's name or design value on each of its rows) is marked as the
// record tables mark it.
class ProjectSheets {
public:
    static WorkbookSheet components(const ComponentList& components,
                                    const std::vector<bool>& ticked);
    static WorkbookSheet points(const ComponentList& components, const std::vector<bool>& ticked,
                                const EditMarks* marks = nullptr);
};
