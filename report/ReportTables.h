#pragma once

#include <span>
#include <string_view>

// Which record table a run prints; the numbers are the ones the print commands store.
enum class ReportKind : int { None = 0, Thickness = 1, Diameter = 2, Spacing = 3, Acceptance = 4 };

// One of the record tables: the three inspection records and the acceptance judgement.
struct ReportTable {
    ReportKind kind;
    std::string_view name;          // corvane-cli's word for it
    std::string_view title;         // menu text and table title (UTF-8)
    std::string_view templateFile;  // lies beside the executable
};

std::span<const ReportTable> reportTables();

// Null when there is no such table (ReportKind::None, an unknown word).
const ReportTable* reportTable(ReportKind kind);
const ReportTable* reportTableNamed(std::string_view name);
