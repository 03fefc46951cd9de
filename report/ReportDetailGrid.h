#pragma once

#include "report/ReportRecordset.h"

// The ruled table of detail rows; its record set is what the events fill.
class ReportDetailGrid {
public:
    ReportRecordset& recordset() { return recordset_; }
    const ReportRecordset& recordset() const { return recordset_; }

private:
    ReportRecordset recordset_;
};
