#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

#include "model/Status.h"
#include "report/ReportRecordset.h"

// A named field of the detail records. Owned by its Report; the address stays valid until
// the report loads another template or is destroyed.
class ReportField {
public:
    ReportField(QString name, std::size_t index, ReportRecordset& records)
        : name_(std::move(name)), index_(index), records_(records) {}

    const QString& name() const { return name_; }
    std::size_t index() const { return index_; }

    // Both fail when no record was appended.
    Status setInteger(std::int32_t value) { return records_.set(index_, value, name_); }
    Status setText(const QString& text) { return records_.set(index_, text, name_); }

private:
    QString name_;
    std::size_t index_;
    ReportRecordset& records_;
};
