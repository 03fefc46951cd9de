#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

// One worksheet as the workbook writer takes it: every cell with its value and look, the
// merged ranges, and how the sheet prints. Made by RecordSheet and ProjectSheets, written by
// XlsxWorkbook; no Qt and no spreadsheet library, so what a sheet holds is checked without
// either.

// What a cell looks like; the writer makes one format of each with the sheet's fonts.
enum class SheetStyle {
    Title,        // the table's title: bold, title size, no border
    Label,        // a header box's label, text size, ruled
    Value,        // a header box's value, text size, ruled, left
    Caption,      // a column caption, table size, ruled, wrapped
    Cell,         // a detail cell, table size, ruled
    Note,         // a note row across the table, table size, ruled, wrapped, left
    Signature,    // a signature field, text size, no border, left
    ListCaption,  // the caption row of a list sheet: bold, ruled
    ListCell,     // a cell of a list sheet, ruled
};

enum class SheetAlign { Left, Center, Right };

// A cell value: none (a ruled empty cell), a number, or a text in UTF-8.
using SheetValue = std::variant<std::monostate, std::int32_t, std::string>;

// One cell, or a merged range from (row, column) to (lastRow, lastColumn). An edited value
// keeps its number, gets a light fill and, when it has one, its note (what stood there first).
struct SheetCell {
    int row = 0;
    int column = 0;
    SheetValue value;
    SheetStyle style = SheetStyle::Cell;
    SheetAlign align = SheetAlign::Center;
    int lastRow = row;
    int lastColumn = column;
    bool edited = false;
    std::string note = {};  // UTF-8; empty for none

    bool merged() const { return lastRow > row || lastColumn > column; }
};

struct WorkbookSheet {
    std::string name;  // at most 31 characters, none of []:*?/\ (the writer refuses others)
    std::vector<SheetCell> cells;
    std::vector<double> columnWidths;  // in characters of the default font, from column 0
    std::map<int, double> rowHeights;  // points, by row; others keep the default
    std::string fontFamily = "宋体";
    double titlePoints = 18;
    double textPoints = 10.5;
    double tablePoints = 9;

    // Printing: the spreadsheet's paper number (9 is A4), the margins in inches (left, top,
    // right, bottom), the rows repeated at the top of every page (none when first < 0), the
    // page footer (the spreadsheet's codes: &P the page, &N the pages), and whether the
    // columns are fitted to the paper's width.
    int paper = 9;
    bool landscape = true;
    double margins[4] = {0.59, 0.47, 0.59, 0.47};
    int repeatFirst = -1;
    int repeatLast = -1;
    std::string footer;
    bool fitToWidth = true;
    int frozenRows = 0;  // rows kept in view while scrolling
};
