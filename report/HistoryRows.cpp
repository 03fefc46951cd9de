#include "report/HistoryRows.h"

namespace {

constexpr const char* columnFields[] = {"Time",  "User", "Component", "Point",
                                        "Field", "Old",  "New"};
constexpr const char* noteField = "Note";

}  // namespace

std::vector<std::string> historyFieldNames() {
    std::vector<std::string> names(std::begin(columnFields), std::end(columnFields));
    names.emplace_back(noteField);
    return names;
}

std::vector<ReportRow> buildHistoryRows(const std::vector<std::array<std::string, 7>>& entries,
                                        const std::string& state) {
    std::vector<ReportRow> rows;
    rows.reserve(entries.size() + 1);
    rows.push_back({{noteField, state}});
    for (const auto& entry : entries) {
        ReportRow row;
        for (std::size_t i = 0; i < entry.size(); ++i) row.push_back({columnFields[i], entry[i]});
        rows.push_back(std::move(row));
    }
    return rows;
}
