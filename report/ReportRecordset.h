#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

#include "model/Status.h"
#include "report/ReportValue.h"

// The detail records of one generation. A record is appended, its fields are set, and it is
// posted; only posted records print. A record holds one slot per field index.
class ReportRecordset {
public:
    using Record = std::vector<ReportValue>;

    // Guards against a sink that never stops appending.
    static constexpr std::size_t maxRecords = 1'000'000;

    // Starts a new current record; one appended but never posted is dropped.
    Status append();
    // Stores the current record as the next detail row.
    Status post();
    // Sets field `index` of the current record; `fieldName` is for the message only.
    Status set(std::size_t index, ReportValue value, const QString& fieldName);

    const std::vector<Record>& records() const { return records_; }
    // Forgets every record, posted or not, before a new generation.
    void clear();

private:
    std::vector<Record> records_;
    std::optional<Record> current_;
};
