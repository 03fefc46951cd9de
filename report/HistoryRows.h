#pragma once

#include <array>
#include <string>
#include <vector>

#include "report/ReportRows.h"

// What the printed 修改记录 holds: the rows 修改记录 lists, made by the caller (the history is
// the document's), and the state of their chain.

// The table's fields in binding order, the note field last.
std::vector<std::string> historyFieldNames();

// A note row with `state` ("修改记录完整，共 N 条。" …), then one row per entry in the order
// given: time, user, component, point, what changed, old, new (UTF-8).
std::vector<ReportRow> buildHistoryRows(const std::vector<std::array<std::string, 7>>& entries,
                                        const std::string& state);
