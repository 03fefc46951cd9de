#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "report/ReportRows.h"

// What the acceptance judgement table holds, from a judgement alone (no report engine).

// What the program and the command line say when no component has a class.
inline constexpr std::string_view noJudgedComponents = "没有参与判定的构件";

// The field of the table's note rows: text printed across the table, not in its columns.
inline constexpr std::string_view acceptanceNoteField = "Note";

// The table's fields in binding order, the note field last.
std::vector<std::string> acceptanceFieldNames();

// One row per classed component in project order (code, name, class, sample, points,
// unmeasured, passing, largest deviations), then note rows: the rule, and for each class
// with components its figures, its verdict with the reason, and its notices.
std::vector<ReportRow> buildAcceptanceRows(const AcceptanceJudgement& judgement);

// The date of the first classed component (UTF-8); empty when there is none.
std::string acceptanceTestDate(const AcceptanceJudgement& judgement);
