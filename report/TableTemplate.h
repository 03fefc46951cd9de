#pragma once

#include <QString>
#include <string>

#include "report/ReportTables.h"
#include "report/ReportTemplate.h"

// The template a record table prints with: a file where the programs look for it, so that a
// customer can restyle a table, or else the copy compiled into the programs, so that a table
// always prints in its shipped layout.
class TableTemplate {
public:
    struct Choice {
        ReportTemplate layout;
        // Empty unless a file was found and could not be used: then it names the file and
        // says what is wrong, and `layout` is the built-in copy.
        std::string problem;
    };

    // The file of the table's name in `folder`, or where ReportTemplate::locate finds it when
    // `folder` is empty; without one, the built-in copy without a word.
    static Choice choose(const ReportTable& table, const QString& folder = {});

    // Empty when `layout` can print table `kind`; otherwise what it lacks: the detail grid, a
    // field or parameter the table sets, or room for a row on its paper.
    static QString lacks(const ReportTemplate& layout, ReportKind kind);
};
