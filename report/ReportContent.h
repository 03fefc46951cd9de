#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "report/ReportValue.h"

// What the pages show besides the template's own texts.
struct ReportContent {
    std::vector<QString> headerValues;  // one per header box, in template order
    int rowCount = 0;
    std::function<ReportValue(int row, int column)> cell;  // a number stays a number
    // A row with a note prints it across the table instead of its cells; may be empty.
    std::function<QString(int row)> note;
};
