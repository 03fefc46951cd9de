#include "report/CReportEvent.h"

#include "model/GbkCodec.h"
#include "report/AcceptanceRows.h"
#include "report/Report.h"
#include "report/ReportRows.h"

CReportEvent::CReportEvent(Report& report, const ProjectInfo& info, const ComponentList& components,
                           std::vector<bool> ticked, const ReportTable& table,
                           std::optional<AcceptanceJudgement> judgement, bool classesUnconfirmed,
                           std::optional<EditMarks> editMarks)
    : report_(report),
      info_(info),
      components_(components),
      ticked_(std::move(ticked)),
      table_(table),
      judgement_(std::move(judgement)),
      classesUnconfirmed_(classesUnconfirmed),
      editMarks_(std::move(editMarks)) {}

Status CReportEvent::setParameter(const char* name, const std::string& utf8) {
    Result<ReportParameter*> p = report_.parameterByName(QString::fromUtf8(name));
    if (!p) return Status::failure(p.message());
    p.value()->setText(QString::fromStdString(utf8));
    return {};
}

Status CReportEvent::beforeGeneration() {
    fields_.clear();
    std::vector<std::string> names = reportFieldNames(table_.kind);
    if (editMarks_ && table_.source == RowSource::Points) names.emplace_back(reportNoteField);
    for (const std::string& name : names) {
        Result<ReportField*> f = report_.fieldByName(QString::fromStdString(name));
        if (!f) return Status::failure(f.message());
        fields_[name] = f.value();
    }
    if (Status s = setParameter("ProjectName", gbk::toUtf8(info_.projectName.view())); !s) return s;
    if (Status s = setParameter("TestBasis", gbk::toUtf8(info_.testBasis.view())); !s) return s;
    return setParameter("Instrument", gbk::toUtf8(info_.instrument.view()));
}

Status CReportEvent::rowsWanted(bool&) {
    std::vector<ReportRow> rows;
    std::string testDate;
    if (table_.source == RowSource::Given) {
        rows = givenRows_;
        testDate = givenDate_;
    } else if (table_.source == RowSource::Judgement) {
        if (judgement_) {
            rows = buildAcceptanceRows(*judgement_, classesUnconfirmed_);
            testDate = acceptanceTestDate(*judgement_);
        }
    } else {
        rows =
            buildReportRows(table_.kind, components_, ticked_, editMarks_ ? &*editMarks_ : nullptr);
        testDate = reportTestDate(table_.kind, components_, ticked_);
    }
    if (Status s = setParameter("TestDate", testDate); !s) return s;
    if (rows.empty()) return {};
    Result<ReportDetailGrid*> grid = report_.detailGrid();
    if (!grid) return Status::failure(grid.message());
    ReportRecordset& records = grid.value()->recordset();
    for (const ReportRow& row : rows) {
        if (Status s = records.append(); !s) return s;
        for (const RowField& field : row) {
            const auto bound = fields_.find(field.name);
            if (bound == fields_.end()) {
                return Status::failure("报表字段“" + field.name + "”尚未绑定");
            }
            const auto* number = std::get_if<std::int32_t>(&field.value);
            Status s = number ? bound->second->setInteger(*number)
                              : bound->second->setText(
                                    QString::fromStdString(std::get<std::string>(field.value)));
            if (!s) return s;
        }
        if (Status s = records.post(); !s) return s;
    }
    return {};
}
