#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "model/ComponentList.h"
#include "model/EditMarks.h"
#include "report/ReportTables.h"

// What the record tables hold, worked out from the project alone: no report engine, no Qt,
// so every rule about rows is checked without painting.

// A value for one detail field: a number, or a text already converted to UTF-8.
using RowValue = std::variant<std::int32_t, std::string>;

struct RowField {
    std::string name;
    RowValue value;

    friend bool operator==(const RowField&, const RowField&) = default;
};

// The fields of one detail row, in the order they are set. Measured values past the end of
// the point list are left out, not set to zero.
using ReportRow = std::vector<RowField>;

// The detail fields a table binds, in binding order; with no table chosen only "D1" to "D9".
// The acceptance table's rows come from its judgement (AcceptanceRows), not from ticks:
// buildReportRows gives it none.
std::vector<std::string> reportFieldNames(ReportKind kind);

// The detail rows of table `kind`: for each component in list order that `ticked` marks
// (a component past the end of `ticked` is not ticked), a row for its horizontal points and,
// for a grid, then one for its vertical points. No row for an empty list, nor for fewer than
// two points in the spacing table, which prints the nine differences between the first ten
// positions; the other tables print the first ten values.
// With `marks`, each edited value is a text with "*" after it (a spacing is edited when either
// of its positions is) and the rows end with the footnote as the note of a row of its own.
std::vector<ReportRow> buildReportRows(ReportKind kind, const ComponentList& components,
                                       const std::vector<bool>& ticked,
                                       const EditMarks* marks = nullptr);

// The edited values of one detail row, by field name, with each one's note (may be empty).
using RowNotes = std::map<std::string, std::string>;

// The edited values of each row buildReportRows gives without marks, row by row: what a
// workbook notes on its cells, keeping the numbers. A spacing's note names its points.
std::vector<RowNotes> buildRowNotes(ReportKind kind, const ComponentList& components,
                                    const std::vector<bool>& ticked, const EditMarks& marks);

// The detail field a table prints its notes in, across the row.
inline constexpr std::string_view reportNoteField = "Note";

// The table's test date (UTF-8): the date of the first ticked component that gives a row of
// table `kind`; when none does, that of the first ticked component; empty when none is
// ticked. A date from a component that is not on the table would misdate it.
std::string reportTestDate(ReportKind kind, const ComponentList& components,
                           const std::vector<bool>& ticked);

// What the user is told when no ticked component gives table `kind` a row, so it prints as
// the blank form; empty when it has rows (or for no table).
std::string blankTableNotice(ReportKind kind, const ComponentList& components,
                             const std::vector<bool>& ticked);
