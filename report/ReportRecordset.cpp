#include "report/ReportRecordset.h"

#include <string>

Status ReportRecordset::append() {
    if (records_.size() >= maxRecords) {
        return Status::failure("报表明细记录超过 " + std::to_string(maxRecords) + " 条");
    }
    current_.emplace();
    return {};
}

Status ReportRecordset::post() {
    if (!current_) return Status::failure("没有可提交的报表记录（未追加记录）");
    records_.push_back(std::move(*current_));
    current_.reset();
    return {};
}

Status ReportRecordset::set(std::size_t index, ReportValue value, const QString& fieldName) {
    if (!current_) {
        return Status::failure("给报表字段“" + fieldName.toStdString() +
                               "”赋值时没有当前记录（未追加记录）");
    }
    if (current_->size() <= index) current_->resize(index + 1);
    (*current_)[index] = std::move(value);
    return {};
}

void ReportRecordset::clear() {
    records_.clear();
    current_.reset();
}
