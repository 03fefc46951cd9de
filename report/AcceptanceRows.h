#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/AcceptanceJudgement.h"
#include "report/ReportRows.h"

// What the acceptance judgement table holds, from a judgement alone (no report engine).

// What the program and the command line say when no component has a class.
inline constexpr std::string_view noJudgedComponents = "没有参与判定的构件";

// Classes that came with a project changed elsewhere and were not confirmed in 验收判定: the
// table says so, and the command line judges them only when asked to.
inline constexpr std::string_view unconfirmedClassesNotice =
    "附加信息与工程文件不符，验收类别未经确认。";

// The field of the table's note rows: text printed across the table, not in its columns.
inline constexpr std::string_view acceptanceNoteField = "Note";

// The table's fields in binding order, the note field last.
std::vector<std::string> acceptanceFieldNames();

// One row per classed component in project order (code, name, class, sample, points,
// unmeasured, passing, largest deviations), then note rows: the rule, and for each class
// with components its figures, its verdict with the reason, and its notices.
// `classesUnconfirmed` puts unconfirmedClassesNotice first among the notes.
std::vector<ReportRow> buildAcceptanceRows(const AcceptanceJudgement& judgement,
                                           bool classesUnconfirmed = false);

// The date of the first classed component (UTF-8); empty when there is none.
std::string acceptanceTestDate(const AcceptanceJudgement& judgement);
